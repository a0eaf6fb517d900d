// SPDX-License-Identifier: MIT
#include "library/export_run.h"

#include "library/problem_list.h"

namespace tevusb::library {

namespace {

bool present(const std::filesystem::path& target) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(target, ec));
}

std::string summaryOf(const ExportReport& report, const ExportPlan& plan) {
    std::string text = "Exported " + counted(report.written, "flight", "flights") + " to " +
                       plan.folder.string() + ".";
    if (report.kept > 0) {
        text += " " + counted(report.kept, "existing file was", "existing files were") +
                " kept as " + (report.kept == 1 ? "it was" : "they were") + ".";
    }
    if (report.cancelled) {
        text += " The export was cancelled.";
    }
    if (report.failed > 0) {
        std::vector<std::string> failed;
        for (const ExportItemResult& item : report.items) {
            if (item.state == ExportItemState::Failed) {
                failed.push_back(item.name + ": " + item.reason);
            }
        }
        text += "\n" + counted(failed.size(), "file", "files") +
                " could not be written:" + listedProblems(failed);
    }
    return text;
}

}  // namespace

ExportReport writeExport(const FlightLibrary& library, const ExportPlan& plan, bool replaceExisting,
                         const Progress& progress) {
    ExportReport report;
    for (const ExportItem& item : plan.items) {
        report.items.push_back({item.name, item.target, ExportItemState::NotReached, {}});
    }
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const ExportItem& item = plan.items[i];
        ExportItemResult& result = report.items[i];
        // Only a file the flyer was asked about may go; one that came later was never seen.
        if ((item.exists && !replaceExisting) || (!item.exists && present(item.target))) {
            result.state = ExportItemState::Kept;
            ++report.kept;
        } else if (const Outcome out = library.exportFlight(item.id, plan.format, item.target);
                   out.ok()) {
            result.state = ExportItemState::Written;
            ++report.written;
        } else {
            result.state = ExportItemState::Failed;
            result.reason = out.message;
            ++report.failed;
        }
        if (progress && !progress(i + 1, plan.items.size()) && i + 1 < plan.items.size()) {
            report.cancelled = true;
            break;
        }
    }
    report.summary = summaryOf(report, plan);
    return report;
}

}  // namespace tevusb::library
