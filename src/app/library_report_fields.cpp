// SPDX-License-Identifier: MIT
#include "app/library_report_fields.h"

#include "log/diagnostic_log.h"
#include "ui/library/flight_table_model.h"
#include "ui/library_service.h"

namespace tevusb::app {

LibraryReportFields reportFieldsOf(const library::FlightRecord& record) {
    LibraryReportFields out;
    out.fields.rocket = record.rocket;
    out.fields.motor = record.motor;
    out.fields.site = record.site;
    out.fields.date = ui::FlightTableModel::localDate(record.downloadedAt).toStdString();
    out.comment = record.comment;
    return out;
}

std::optional<LibraryReportFields> libraryReportFields(const std::filesystem::path& file) {
    if (file.empty() || !ui::libraryService().configured()) {
        return std::nullopt;
    }
    library::Outcome outcome;
    const std::shared_ptr<library::FlightLibrary> lib = ui::libraryService().acquire(&outcome);
    if (!lib) {
        log::logLine("Report without library fields: ", outcome.message);
        return std::nullopt;
    }
    const std::optional<library::FlightRecord> record = lib->findArchived(file, &outcome);
    if (!record) {
        if (outcome.status != library::LibraryStatus::NotFound) {
            log::logLine("Report without library fields: ", outcome.message);
        }
        return std::nullopt;
    }
    return reportFieldsOf(*record);
}

}  // namespace tevusb::app
