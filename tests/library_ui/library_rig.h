// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <vector>

#include "library/flight_library.h"

namespace tevusb::ui::libtest {

// A library folder of the test's own, made the program's library for the test's life.
struct LibraryRig {
    LibraryRig();
    ~LibraryRig();
    LibraryRig(const LibraryRig&) = delete;
    LibraryRig& operator=(const LibraryRig&) = delete;

    std::filesystem::path folder() const;
    QString path(const QString& name) const { return temp.filePath(name); }
    // Archives `count` distinct flights (the sample flight under different calibrations),
    // flight i with rocket rockets[i] and motor motors[i] where given. Returns their ids.
    std::vector<std::int64_t> seed(int count, const std::vector<std::string>& rockets = {},
                                   const std::vector<std::string>& motors = {}) const;
    // The flights as a second, independent reader of the folder sees them.
    std::vector<library::FlightRecord> listFresh() const;

    QTemporaryDir temp;
};

// Writes `bytes` into `path`, making its folder first.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

}  // namespace tevusb::ui::libtest
