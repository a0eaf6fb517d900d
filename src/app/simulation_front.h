// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "simulation/flight_against_simulation.h"
#include "ui/worker_thread.h"

class QAction;
class QMainWindow;

namespace tevusb::data {
class DataSetStore;
}
namespace tevusb::graph {
class FlightGraph;
}

namespace tevusb::app {

namespace view_command {
inline constexpr int kCompareWithSimulation = 41011;
inline constexpr int kRemoveSimulation = 41012;
inline constexpr int kKeepSimulationInLibrary = 41013;
}  // namespace view_command

// View > Compare with Simulation... and Remove Simulation: the flyer picks a simulation
// file (and the simulation in it when it holds several); the file is read off the window
// thread, the flight is compared with it in the core, and the analysis view draws it over
// the flight until it is removed or another flight is shown.
class SimulationFront : public QObject {
    Q_OBJECT
  public:
    // `changed` runs on the window thread whenever a simulation is shown or removed;
    // `shownFile` names the file the shown flight came from (empty for none).
    SimulationFront(QMainWindow& window, graph::FlightGraph& graph, const data::DataSetStore& store,
                    std::function<void()> changed,
                    std::function<std::filesystem::path()> shownFile);

    // Asks for the file, then reads it (see load).
    void chooseFile();
    // Reads `path` on the worker; a file with several simulations asks which one, unless
    // `name` names it. A file that cannot be read is refused with a message naming it.
    void load(const QString& path, std::optional<std::string> name = std::nullopt);
    // Shows an already read simulation over the current flight.
    void show(simulation::Simulation sim, const std::string& fileName);
    void remove();
    // Keeps the shown simulation with the shown flight in the library (a copy of its file).
    void keepInLibrary();
    // Another flight is shown: a library flight brings the simulation kept with it.
    void flightShown();

    // The comparison shown over the current flight; null for none.
    std::shared_ptr<const simulation::FlightAgainstSimulation> shown() const;
    bool busy() const { return m_worker.running(); }

  private:
    void loaded(const QString& path, const std::optional<std::string>& name,
                simulation::ImportResult<std::vector<simulation::Simulation>> result);
    void updateItems();

    QMainWindow& m_window;
    graph::FlightGraph& m_graph;
    const data::DataSetStore& m_store;
    std::function<void()> m_changed;
    std::function<std::filesystem::path()> m_shownFile;
    QString m_source;  // the file the shown simulation was read from
    QAction* m_compare = nullptr;
    QAction* m_remove = nullptr;
    QAction* m_keep = nullptr;
    ui::WorkerThread m_worker{this};
};

}  // namespace tevusb::app
