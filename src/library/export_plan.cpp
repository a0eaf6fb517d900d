// SPDX-License-Identifier: MIT
#include "library/export_plan.h"

#include <set>

#include "library/export_name.h"
#include "library/problem_list.h"

namespace tevusb::library {

namespace {

// Anything of that name counts, a dangling link too: writing there would replace it.
bool taken(const std::filesystem::path& target) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(target, ec));
}

}  // namespace

std::vector<std::string> ExportPlan::existingNames() const {
    std::vector<std::string> names;
    for (const ExportItem& item : items) {
        if (item.exists) {
            names.push_back(item.name);
        }
    }
    return names;
}

ExportPlan planExport(const std::vector<FlightRecord>& flights, ExportFormat format,
                      const std::filesystem::path& folder) {
    ExportPlan plan{folder, format, {}};
    std::set<std::string> names;
    for (const FlightRecord& flight : flights) {
        const std::string first = exportFileName(flight, format);
        std::string name = first;
        for (int n = 2; names.count(name) != 0; ++n) {
            name = numberedFileName(first, n);
        }
        names.insert(name);
        const std::filesystem::path target = folder / name;
        plan.items.push_back({flight.id, name, target, taken(target)});
    }
    return plan;
}

ExportPlan planExportFile(std::int64_t id, ExportFormat format,
                          const std::filesystem::path& target) {
    ExportPlan plan{target.parent_path(), format, {}};
    plan.items.push_back({id, target.filename().string(), target, taken(target)});
    return plan;
}

std::string replaceQuestion(const ExportPlan& plan) {
    const std::vector<std::string> existing = plan.existingNames();
    if (existing.empty()) {
        return {};
    }
    return counted(existing.size(), "file already exists", "files already exist") + " in " +
           plan.folder.string() + ":" + listedProblems(existing) +
           "\n\nReplace them? No exports only the others.";
}

}  // namespace tevusb::library
