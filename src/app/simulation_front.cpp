// SPDX-License-Identifier: MIT
#include "app/simulation_front.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/simulation_library.h"
#include "data/data_set_store.h"
#include "graph/flight_graph.h"
#include "graph/simulation_overlay.h"
#include "simulation/simulation_file.h"
#include "ui/library_service.h"
#include "ui/native_path.h"
#include "ui/user_prompts.h"

namespace tevusb::app {

namespace {

const QString kCaption = QStringLiteral("Compare with Simulation");

QAction* addItem(QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(QString::fromLatin1(text));
    action->setObjectName(QString::number(id));
    return action;
}

// The simulation a file with several is compared by: the flyer's pick, with the first that
// has data rows as the default; nothing when the flyer cancels.
std::optional<std::size_t> askWhich(QWidget* owner, const QString& fileName,
                                    const std::vector<simulation::Simulation>& sims) {
    QStringList buttons;
    int preferred = -1;
    for (std::size_t i = 0; i < sims.size(); ++i) {
        QString name = QString::fromStdString(simulation::oneLine(sims[i].name));
        if (sims[i].points() == 0) {
            name += QStringLiteral(" (results only)");
        } else if (preferred < 0) {
            preferred = static_cast<int>(i);
        }
        buttons << name;
    }
    buttons << QStringLiteral("Cancel");
    const int cancel = static_cast<int>(sims.size());
    const int chosen = ui::userPrompts().choose(
        owner,
        QStringLiteral("%1 holds %2 simulations. Which one do you want to compare with the "
                       "flight?")
            .arg(fileName)
            .arg(sims.size()),
        kCaption, buttons, std::max(preferred, 0), cancel);
    if (chosen < 0 || chosen >= cancel) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(chosen);
}

}  // namespace

SimulationFront::SimulationFront(QMainWindow& window, graph::FlightGraph& graph,
                                 const data::DataSetStore& store, std::function<void()> changed,
                                 std::function<std::filesystem::path()> shownFile)
    : QObject(&window),
      m_window(window),
      m_graph(graph),
      m_store(store),
      m_changed(std::move(changed)),
      m_shownFile(std::move(shownFile)) {
    if (auto* view = window.menuBar()->findChild<QMenu*>(QStringLiteral("View"))) {
        view->addSeparator();
        m_compare =
            addItem(view, "Compare with Simulation...", view_command::kCompareWithSimulation);
        m_remove = addItem(view, "Remove Simulation", view_command::kRemoveSimulation);
        connect(m_compare, &QAction::triggered, this, [this] { chooseFile(); });
        m_keep = addItem(view, "Keep Simulation with Library Flight",
                         view_command::kKeepSimulationInLibrary);
        connect(m_remove, &QAction::triggered, this, [this] { remove(); });
        connect(m_keep, &QAction::triggered, this, [this] { keepInLibrary(); });
        // The graph drops a simulation with its flight; the items follow when looked at.
        connect(view, &QMenu::aboutToShow, this, [this] { updateItems(); });
    }
    updateItems();
}

void SimulationFront::chooseFile() {
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Open;
    request.title = kCaption;
    request.filterName = QStringLiteral("Rocket simulations");
    request.pattern = QStringLiteral("*.ork *.csv *.CSV *.txt");
    request.mustExist = true;
    const QString path = ui::userPrompts().fileDialog(&m_window, request);
    if (!path.isEmpty()) {
        load(path);
    }
}

void SimulationFront::load(const QString& path, std::optional<std::string> name) {
    const std::filesystem::path file(path.toStdString());
    const bool started = m_worker.run([this, path, file, name]() -> ui::WorkerThread::JobEnd {
        auto result =
            std::make_shared<simulation::ImportResult<std::vector<simulation::Simulation>>>(
                simulation::loadSimulationFile(file));
        return [this, path, name, result] { loaded(path, name, std::move(*result)); };
    });
    if (started) {
        updateItems();
    }
}

void SimulationFront::loaded(const QString& path, const std::optional<std::string>& name,
                             simulation::ImportResult<std::vector<simulation::Simulation>> result) {
    updateItems();
    const QString fileName = QFileInfo(path).fileName();
    if (auto* error = std::get_if<simulation::ImportError>(&result)) {
        ui::userPrompts().messageBox(
            &m_window,
            QStringLiteral("Could not compare with %1:\n%2")
                .arg(fileName, QString::fromStdString(simulation::oneLine(error->message))),
            kCaption, ui::kMbOk | ui::kMbIconExclamation);
        return;
    }
    auto& sims = std::get<std::vector<simulation::Simulation>>(result);
    std::optional<simulation::Simulation> chosen;
    if (name || sims.size() == 1) {
        auto picked = simulation::pickSimulation(sims, name, fileName.toStdString());
        if (auto* error = std::get_if<simulation::ImportError>(&picked)) {
            ui::userPrompts().messageBox(&m_window, QString::fromStdString(error->message),
                                         kCaption, ui::kMbOk | ui::kMbIconExclamation);
            return;
        }
        chosen = std::get<simulation::Simulation>(std::move(picked));
    } else if (const auto index = askWhich(&m_window, fileName, sims)) {
        chosen = std::move(sims[*index]);
    } else {
        return;
    }
    m_source = path;
    show(std::move(*chosen), fileName.toStdString());
}

void SimulationFront::keepInLibrary() {
    const auto shown = this->shown();
    if (!shown || m_source.isEmpty()) {
        return;
    }
    const std::filesystem::path flight = m_shownFile ? m_shownFile() : std::filesystem::path();
    const std::filesystem::path source(m_source.toStdString());
    const std::string name = shown->sim.name;
    m_worker.run([this, flight, source, name]() -> ui::WorkerThread::JobEnd {
        const std::string problem = keepWithLibraryFlight(flight, source, name);
        return [this, problem, name] {
            updateItems();
            if (problem.empty()) {
                ui::userPrompts().messageBox(
                    &m_window,
                    QStringLiteral("The simulation \"%1\" is kept with this flight in the "
                                   "library; it is shown whenever the flight is opened.")
                        .arg(QString::fromStdString(simulation::oneLine(name))),
                    kCaption, ui::kMbOk | ui::kMbIconInformation);
            } else {
                ui::userPrompts().messageBox(&m_window, QString::fromStdString(problem), kCaption,
                                             ui::kMbOk | ui::kMbIconExclamation);
            }
        };
    });
    updateItems();
}

void SimulationFront::flightShown() {
    const std::filesystem::path flight = m_shownFile ? m_shownFile() : std::filesystem::path();
    if (flight.empty() || !ui::libraryService().configured()) {
        return;
    }
    m_worker.run([this, flight]() -> ui::WorkerThread::JobEnd {
        const auto attached = attachedSimulationOf(flight);
        if (!attached) {
            return {};
        }
        return [this, attached, flight] {
            // Only while that flight is still the one shown.
            if (m_shownFile && m_shownFile() == flight) {
                load(ui::toQString(attached->file), attached->simName);
            }
        };
    });
}

void SimulationFront::show(simulation::Simulation sim, const std::string& fileName) {
    const analysis::FlightStatistics stats = m_graph.statistics();
    auto comparison = std::make_shared<const simulation::FlightAgainstSimulation>(
        simulation::compareFlight(m_store.current, stats, std::move(sim), fileName));
    auto overlay = std::make_shared<const graph::SimulationOverlay>(
        graph::makeSimulationOverlay(comparison, stats.launchTimeS));
    m_graph.changeView([&](graph::AnalysisViewState& view) { view.simulation = overlay; });
    updateItems();
    if (m_changed) {
        m_changed();
    }
}

void SimulationFront::remove() {
    m_graph.changeView([](graph::AnalysisViewState& view) { view.simulation.reset(); });
    updateItems();
    if (m_changed) {
        m_changed();
    }
}

std::shared_ptr<const simulation::FlightAgainstSimulation> SimulationFront::shown() const {
    const auto overlay = m_graph.viewState().simulation;
    return overlay ? overlay->comparison : nullptr;
}

void SimulationFront::updateItems() {
    if (m_compare != nullptr) {
        m_compare->setEnabled(!m_worker.running());
    }
    const bool shown = m_graph.viewState().simulation != nullptr;
    if (m_remove != nullptr) {
        m_remove->setEnabled(shown);
    }
    if (m_keep != nullptr) {
        m_keep->setEnabled(shown && !m_worker.running());
    }
}

}  // namespace tevusb::app
