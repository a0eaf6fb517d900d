// SPDX-License-Identifier: MIT
#include "library_rig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data/data_set_store.h"
#include "ui/library_service.h"

namespace tevusb::ui::libtest {

LibraryRig::LibraryRig() {
    libraryService().setFolder(folder());
}

LibraryRig::~LibraryRig() {
    libraryService().setFolder({});
}

std::filesystem::path LibraryRig::folder() const {
    return std::filesystem::path(temp.filePath(QStringLiteral("library")).toStdString());
}

std::vector<std::int64_t> LibraryRig::seed(int count, const std::vector<std::string>& rockets,
                                           const std::vector<std::string>& motors) const {
    data::DataSetStore sample;
    std::vector<std::int64_t> ids;
    if (!sample.loadSetFile(TEVUSB_SAMPLE_FLIGHT)) {
        return ids;
    }
    library::FlightLibrary writer(folder());
    writer.open();
    for (int i = 0; i < count; ++i) {
        library::DownloadInput input;
        input.packets = sample.packets;
        input.settings = sample.settings;
        input.settings.adcOffset = i;
        input.settings.build();
        input.firmwareVersion = "1.50";
        input.downloadedAt =
            std::chrono::system_clock::now() - std::chrono::hours(24 * (count - i));
        const auto results = writer.archiveDownload(input);
        if (results.empty() || !results[0].outcome.ok()) {
            continue;
        }
        const std::int64_t id = results[0].outcome.id;
        library::FlightFields fields;
        if (static_cast<std::size_t>(i) < rockets.size()) {
            fields.rocket = rockets[static_cast<std::size_t>(i)];
        }
        if (static_cast<std::size_t>(i) < motors.size()) {
            fields.motor = motors[static_cast<std::size_t>(i)];
        }
        writer.edit(id, fields);
        ids.push_back(id);
    }
    return ids;
}

std::vector<library::FlightRecord> LibraryRig::listFresh() const {
    library::FlightLibrary reader(folder());
    if (!reader.open().ok() && !reader.isOpen()) {
        return {};
    }
    return reader.list();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(bytes);
    }
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace tevusb::ui::libtest
