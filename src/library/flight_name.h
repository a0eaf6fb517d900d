// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "library/flight_library.h"

namespace tevusb::library {

// Whether `text` is a real day written "2026-12-06".
bool isCalendarDate(const std::string& text);

// The day the flight flew: the flyer's flight date, else the local day of its download.
std::string flightDay(const FlightRecord& record);

// How every window, report and command names a library flight: "Nova / H128, 2026-12-06,
// set 2" (rocket / motor, flight day, its set number in its download). Without rocket and
// motor the id stands in: "Flight #12, 2026-12-06, set 2".
std::string flightName(const FlightRecord& record);

// How a plain data-set file's set is named: "field-day.tev, set 2" (k counts from 0).
std::string fileFlightName(const std::string& fileName, int k);

}  // namespace tevusb::library
