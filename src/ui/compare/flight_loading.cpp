// SPDX-License-Identifier: MIT
#include "ui/compare/flight_loading.h"
#include "library/flight_name.h"

#include <QFile>
#include <QFileInfo>

#include "data/data_set_store.h"
#include "simulation/simulation_file.h"
#include "ui/compare/simulation_curve.h"
#include "ui/native_path.h"

namespace tevusb::ui {

namespace {

graph::ComparedFlight comparedFlight(const data::DataSetStore& store, QString name) {
    graph::ComparedFlight flight;
    flight.name = std::move(name);
    flight.set = store.current;
    flight.statistics = analysis::computeStatistics(flight.set);
    return flight;
}

// Each simulation with data rows of the file, named "NAME (simulation)".
void addSimulations(LoadedFlights& loaded, const QString& path) {
    auto sims = simulation::loadSimulationFile(toPath(path));
    const auto* read = std::get_if<std::vector<simulation::Simulation>>(&sims);
    bool any = false;
    for (std::size_t i = 0; read != nullptr && i < read->size(); ++i) {
        const auto& sim = (*read)[i];
        if (auto curve =
                simulationCurve(sim, QString::fromStdString(simulation::oneLine(sim.name)) +
                                         QStringLiteral(" (simulation)"))) {
            loaded.flights.push_back(std::move(*curve));
            any = true;
        }
    }
    if (!any) {
        loaded.refused.push_back(path);
    }
}

}  // namespace

LoadedFlights loadFlightFiles(const QStringList& paths) {
    LoadedFlights loaded;
    for (const QString& path : paths) {
        if (isSimulationFile(path)) {
            addSimulations(loaded, path);
            continue;
        }
        data::DataSetStore store;
        if (!store.loadSetFile(toPath(path))) {
            loaded.refused.push_back(path);
            continue;
        }
        const QString name = QFileInfo(path).fileName();
        const int sets = store.setCount();
        for (int k = 0; k < sets; ++k) {
            if (!store.selectSet(k) || store.readingCount() == 0) {
                continue;
            }
            loaded.flights.push_back(comparedFlight(
                store, QString::fromStdString(library::fileFlightName(name.toStdString(), k))));
        }
    }
    return loaded;
}

std::optional<graph::ComparedFlight> loadFirstSet(const std::filesystem::path& file,
                                                  const QString& name) {
    data::DataSetStore store;
    if (!store.loadSetFile(file) || !store.selectSet(0) || store.readingCount() == 0) {
        return std::nullopt;
    }
    return comparedFlight(store, name);
}

}  // namespace tevusb::ui
