// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "library/export_name.h"
#include "library/flight_library.h"

namespace tevusb::library {

// One flight's file in an export.
struct ExportItem {
    std::int64_t id = 0;
    std::string name;  // the file name alone, for the flyer
    std::filesystem::path target;
    bool exists = false;  // something of that name was there when the plan was made
};

// Where each flight of an export goes, before anything is written.
struct ExportPlan {
    std::filesystem::path folder;
    ExportFormat format = ExportFormat::Tev;
    std::vector<ExportItem> items;

    // The names that would replace a file, in the order of the flights.
    std::vector<std::string> existingNames() const;
};

// One file per flight in `folder`, named by exportFileName in `naming`; flights that would
// get the same name are numbered so that none overwrites another: "-2", "-3" by download
// time, " (2)", " (3)" by flight name, where names differing only in case count as one.
ExportPlan planExport(const std::vector<FlightRecord>& flights, ExportFormat format,
                      const std::filesystem::path& folder,
                      ExportNaming naming = ExportNaming::DownloadTime);

// One flight to a file the flyer named.
ExportPlan planExportFile(std::int64_t id, ExportFormat format,
                          const std::filesystem::path& target);

// The question to ask before files are replaced; empty when the plan replaces none.
std::string replaceQuestion(const ExportPlan& plan);

}  // namespace tevusb::library
