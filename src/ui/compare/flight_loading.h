// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

#include "graph/comparison_view.h"

namespace tevusb::ui {

// Flights read for a comparison, and the files that could not be read.
struct LoadedFlights {
    std::vector<graph::ComparedFlight> flights;
    QStringList refused;
};

// Every non-empty set of each data-set file, named after the file ("name #k" when the
// file holds several), and every simulation with data of a simulation file (.ork, .csv),
// named after the simulation. Any thread.
LoadedFlights loadFlightFiles(const QStringList& paths);

// The first set of a data-set file (an archived flight holds one), under `name`; none when
// the file cannot be read or holds no readings. Any thread.
std::optional<graph::ComparedFlight> loadFirstSet(const std::filesystem::path& file,
                                                  const QString& name);

}  // namespace tevusb::ui
