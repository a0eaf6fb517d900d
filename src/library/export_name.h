// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "library/flight_library.h"

namespace tevusb::library {

// How the files of an export are named.
enum class ExportNaming {
    FlightName,    // "Nova - H128, 2026-12-06, set 2.tev", the name the library shows
    DownloadTime,  // "2026-12-08_0735_set2_Nova_H128.tev", sorting by download
};

// The file name an exported flight gets, "2026-12-08_0735_set2_Nova_H128.tev": sortable,
// readable and safe on every file system. Rocket and motor keep their letters and digits
// (any script) and '-', each up to 40 characters; everything else becomes '_'.
std::string exportFileName(const FlightRecord& flight, ExportFormat format);

// The flight's name as the library shows it (flightName), made a safe file name: " / "
// reads " - ", characters no file system takes (backslash / : * ? " < > | and controls) become
// '_', no leading dot or trailing dot or blank, a reserved device name ("CON") gets a '_'
// before it, and at most 120 bytes before the extension, cut between characters.
std::string flightFileName(const FlightRecord& flight, ExportFormat format);

// The file name of `flight` in the given naming.
std::string exportFileName(const FlightRecord& flight, ExportFormat format, ExportNaming naming);

// "name-2.csv" for the second file of name "name.csv" in one export.
std::string numberedFileName(const std::string& name, int n);

}  // namespace tevusb::library
