// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "library/export_plan.h"
#include "library/flight_library.h"

namespace tevusb::library {

enum class ExportItemState {
    Written,
    Kept,        // a file of that name was there and was not to be replaced
    Failed,      // see the reason
    NotReached,  // the export was cancelled first
};

struct ExportItemResult {
    std::string name;
    std::filesystem::path target;
    ExportItemState state = ExportItemState::NotReached;
    std::string reason;  // one line, for Failed
};

// What an export did, item by item, and the summary the flyer reads.
struct ExportReport {
    std::vector<ExportItemResult> items;
    std::size_t written = 0;
    std::size_t kept = 0;
    std::size_t failed = 0;
    bool cancelled = false;
    // "Exported 2 flights to /home/f/out." and what was kept or failed, with the reasons.
    std::string summary;
    bool problem() const { return failed > 0 || cancelled; }
};

// Writes the plan's files. A file that existed when the plan was made is replaced only with
// `replaceExisting`; one that has appeared since is always kept. `progress` hears of each
// file and may cancel the rest.
ExportReport writeExport(const FlightLibrary& library, const ExportPlan& plan, bool replaceExisting,
                         const Progress& progress = {});

}  // namespace tevusb::library
