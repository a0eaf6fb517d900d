// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tevusb::analysis {

// The unit system a flyer reads numbers in. The design's exports stay metric whatever
// is chosen here; this is for the new texts (statistics, readout, axes, reports).
enum class UnitSystem { Metric, Imperial };

// What a number measures; each kind has one SI unit and one display unit per system.
enum class Quantity {
    Altitude,      // m        | ft
    Speed,         // m/s      | ft/s
    FastSpeed,     // km/h     | mph   (the value given in m/s)
    Acceleration,  // m/s^2    | ft/s^2
    Time,          // s        | s
};

// The SI value converted into the display unit of `system`.
double toDisplay(Quantity quantity, double si, UnitSystem system);
// The display value converted back to SI.
double fromDisplay(Quantity quantity, double shown, UnitSystem system);
// The unit's symbol: "m", "ft", "m/s", "ft/s", "km/h", "mph", "m/s²", "ft/s²", "s".
const char* unitSymbol(Quantity quantity, UnitSystem system);
// Number and unit, with a fixed number of decimals, in the C locale: "1234.5 ft".
// A value that is not a finite number gives "—" (an em dash), never "nan".
std::string formatQuantity(Quantity quantity, double si, UnitSystem system, int decimals = 1);
// An altitude at the precision the pressure sensor has: 0.1 m, or whole feet.
int altitudeDecimals(UnitSystem system);
std::string formatAltitude(double metres, UnitSystem system);
// The number alone, fixed decimals, C locale.
std::string formatNumber(double value, int decimals);

// "metric" / "imperial"; parse gives nothing for anything else.
const char* unitSystemName(UnitSystem system);
bool parseUnitSystem(const std::string& text, UnitSystem& out);

}  // namespace tevusb::analysis
