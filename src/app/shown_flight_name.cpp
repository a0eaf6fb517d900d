// SPDX-License-Identifier: MIT
#include "app/shown_flight_name.h"

#include "data/utf8_path.h"
#include "library/flight_name.h"
#include "ui/library_service.h"

namespace tevusb::app {

QString libraryFlightName(const std::filesystem::path& file) {
    if (file.empty() || !ui::libraryService().configured()) {
        return {};
    }
    const std::shared_ptr<library::FlightLibrary> lib = ui::libraryService().acquire();
    if (!lib) {
        return {};
    }
    const std::optional<library::FlightRecord> record = lib->findArchived(file);
    return record ? QString::fromStdString(library::flightName(*record)) : QString();
}

QString shownFlightName(const std::filesystem::path& file, int setIndex) {
    if (file.empty()) {
        return QStringLiteral("Downloaded flight, set %1").arg(setIndex + 1);
    }
    const QString archived = libraryFlightName(file);
    if (!archived.isEmpty()) {
        return archived;
    }
    return QString::fromStdString(
        library::fileFlightName(data::pathToUtf8(file.filename()), setIndex));
}

}  // namespace tevusb::app
