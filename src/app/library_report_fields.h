// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "library/flight_library.h"
#include "report/report_content.h"

namespace tevusb::app {

// What a report says of a flight the library holds: the flyer's fields (the date as the
// library window shows it) and the comment as the library keeps it now, which may have
// been edited since the flight was archived.
struct LibraryReportFields {
    report::FlightFields fields;
    std::string comment;
};

LibraryReportFields reportFieldsOf(const library::FlightRecord& record);

// The fields for `file` when it is one of the library's archive files; none for any other
// file, and none when the library cannot be opened (the report then goes without them).
// Any thread: it reads the index, which may mean opening the library first.
std::optional<LibraryReportFields> libraryReportFields(const std::filesystem::path& file);

}  // namespace tevusb::app
