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

namespace {

// "Nova - H128, 2026-12-06, set 2 (2).tev": a flight's name reads best numbered apart.
std::string bracketNumbered(const std::string& name, int n) {
    const std::size_t dot = name.find_last_of('.');
    return name.substr(0, dot) + " (" + std::to_string(n) + ")" +
           (dot == std::string::npos ? "" : name.substr(dot));
}

// Names that differ only in case are one file where case is not told apart (Windows, macOS).
std::string caseless(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name;
}

}  // namespace

ExportPlan planExport(const std::vector<FlightRecord>& flights, ExportFormat format,
                      const std::filesystem::path& folder, ExportNaming naming) {
    ExportPlan plan{folder, format, {}};
    const bool byName = naming == ExportNaming::FlightName;
    std::set<std::string> names;
    const auto key = [byName](const std::string& name) { return byName ? caseless(name) : name; };
    for (const FlightRecord& flight : flights) {
        const std::string first = exportFileName(flight, format, naming);
        std::string name = first;
        for (int n = 2; names.count(key(name)) != 0; ++n) {
            name = byName ? bracketNumbered(first, n) : numberedFileName(first, n);
        }
        names.insert(key(name));
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
