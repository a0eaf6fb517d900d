// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "library/flight_library.h"

namespace tevusb::library {

// The file name an exported flight gets, "2026-12-08_0735_set2_Nova_H128.tev": sortable,
// readable and safe on every file system. Rocket and motor keep their letters and digits
// (any script) and '-', each up to 40 characters; everything else becomes '_'.
std::string exportFileName(const FlightRecord& flight, ExportFormat format);

// "name-2.csv" for the second file of name "name.csv" in one export.
std::string numberedFileName(const std::string& name, int n);

}  // namespace tevusb::library
