// SPDX-License-Identifier: MIT
// View > Compare with Simulation on the main window: the file read off the window thread,
// the choice among several simulations, the panel's figures against the command line's for
// the same files, the refusal of a file that holds none, and the removal.
#include <QAction>
#include <QMenu>
#include <nlohmann/json.hpp>

#include "app/analysis_front.h"
#include "app/main_menu.h"
#include "app/simulation_front.h"
#include "app/view_menu.h"
#include "app/view_preferences.h"
#include "app_fixture.h"
#include "cli/stats_command.h"
#include "graph/simulation_overlay.h"
#include "support/cli_run.h"
#include "support/scoped_library.h"
#include "support/sim_files.h"
#include "support/temp_dir.h"
#include "ui/flight_statistics_panel.h"
#include "ui/library_service.h"

namespace tevusb::app {
namespace {

namespace tt = tevusb::testing;
using json = nlohmann::ordered_json;  // the rows keep the file's order

const std::vector<tt::OrkSimulation> kClub = {
    {"F67 at the club field", true, 1, false, 1.0},
    {"G80 windy", false, 1, false, 1.4},
    {"H128 two stages", true, 2, false, 1.5},
};

struct SimulationFrontTest : testing::AppTest {
    void SetUp() override {
        AppTest::SetUp();
        preferenceSettings().clear();
        openWindow();
        m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
        trigger(command::kOpen);
        ASSERT_GT(m_store.current.size(), 100u);
    }

    QString writeSim(const char* name, const std::string& bytes) const {
        tt::writeAll(tempPath(name).toStdString(), bytes);
        return tempPath(name);
    }

    SimulationFront& front() const { return *m_window->simulation(); }
};

// The leading number of a cell ("+12.3 m (+1.9 %)" gives 12.3); NaN for "—".
double leading(const QString& cell) {
    bool ok = false;
    const double v = cell.section(' ', 0, 0).toDouble(&ok);
    return ok ? v : std::nan("");
}

void expectCell(const QString& cell, const json& value, const std::string& what) {
    if (value.is_null()) {
        EXPECT_TRUE(std::isnan(leading(cell))) << what << ": " << cell.toStdString();
    } else {
        EXPECT_NEAR(leading(cell), value.get<double>(), 0.051)
            << what << ": " << cell.toStdString();
    }
}

TEST_F(SimulationFrontTest, PanelShowsTheChosenSimulationWithTheCommandLinesFigures) {
    const QString ork = writeSim("club.ork", tt::zipped(tt::orkXml(kClub)));
    m_prompts.choose(ork);
    m_prompts.pick(2);
    trigger(view_command::kCompareWithSimulation);
    ASSERT_TRUE(testing::waitUntil([&] { return front().shown() != nullptr; }));

    // Asked which one, the first with data rows offered first, the results-only one marked.
    const auto boxes = m_prompts.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains("club.ork holds 3 simulations"));
    EXPECT_EQ(boxes[0].buttons, QStringList({"F67 at the club field", "G80 windy (results only)",
                                             "H128 two stages", "Cancel"}));
    EXPECT_EQ(boxes[0].defaultIndex, 0);
    EXPECT_EQ(boxes[0].cancelIndex, 3);
    // Drawn over the flight: the analysis view came on to show it.
    EXPECT_TRUE(m_window->graph().analysisView());
    EXPECT_EQ(m_window->graph().viewState().simulation->name, "H128 two stages");

    trigger(view_command::kFlightStatistics);
    const auto* panel = m_window->findChild<ui::FlightStatisticsPanel*>("FlightStatisticsPanel");
    ASSERT_NE(panel, nullptr);
    const QStringList texts = panel->simulationTexts();

    const auto run = tt::runCli(cli::runStats, {TEVUSB_SAMPLE_FLIGHT, "--sim", ork.toStdString(),
                                                "--sim-name", "H128 two stages", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const json j = json::parse(run.out);
    const json& comparison = j["simulation"]["comparison"];
    ASSERT_EQ(static_cast<std::size_t>(texts.size()), comparison.size() + 2);
    std::size_t row = 0;
    for (const auto& [key, value] : comparison.items()) {
        const QStringList cells = texts[static_cast<int>(row++)].split('\t');
        ASSERT_EQ(cells.size(), 4) << key;
        expectCell(cells[1], value["flown"], key + " flown");
        expectCell(cells[2], value["simulated"], key + " simulated");
        expectCell(cells[3], value["difference"], key + " difference");
    }
    const QString drag = texts[texts.size() - 2];
    EXPECT_TRUE(drag.startsWith("Coast drag: ")) << drag.toStdString();
    if (!j["coast_drag"]["cd"].is_null()) {
        EXPECT_TRUE(drag.contains(
            QStringLiteral("Cd %1").arg(j["coast_drag"]["cd"].get<double>(), 0, 'f', 2)))
            << drag.toStdString();
    }
    EXPECT_EQ(texts.last().toStdString(), j["simulation"]["verdict"].get<std::string>());

    // Removed: the view and the panel let it go, and the item is off until another comes.
    trigger(view_command::kRemoveSimulation);
    EXPECT_EQ(front().shown(), nullptr);
    EXPECT_TRUE(panel->simulationTexts().isEmpty());
    QMenu* view = m_window->findChild<QMenu*>("View");
    emit view->aboutToShow();
    EXPECT_FALSE(menuAction(*m_window, view_command::kRemoveSimulation)->isEnabled());
}

TEST_F(SimulationFrontTest, AFileWithoutASimulationIsRefusedByNameAndShowsNothing) {
    const QString bad = writeSim("nan.csv", "# Time (s),Altitude (m)\nNaN,NaN\n");
    m_prompts.choose(bad);
    trigger(view_command::kCompareWithSimulation);
    ASSERT_TRUE(testing::waitUntil([&] { return !m_prompts.boxes().empty(); }));
    const auto box = m_prompts.boxes().front();
    EXPECT_TRUE(box.text.startsWith("Could not compare with nan.csv:\n")) << box.text.toStdString();
    EXPECT_GT(box.text.size(), QString("Could not compare with nan.csv:\n").size() + 10);
    EXPECT_EQ(box.owner, m_window.get());
    EXPECT_EQ(front().shown(), nullptr);

    // Cancelling the choice among several leaves the flight alone too.
    const QString ork = writeSim("club.ork", tt::gzipped(tt::orkXml(kClub)));
    m_prompts.choose(ork);
    trigger(view_command::kCompareWithSimulation);
    ASSERT_TRUE(testing::waitUntil([&] { return m_prompts.boxes().size() == 2; }));
    EXPECT_EQ(front().shown(), nullptr);
    EXPECT_TRUE(menuAction(*m_window, view_command::kCompareWithSimulation)->isEnabled());

    // A single simulation needs no question and stays with the flight it was loaded for.
    const QString csv = writeSim("one.csv", tt::openRocketCsv({}));
    m_prompts.choose(csv);
    trigger(view_command::kCompareWithSimulation);
    ASSERT_TRUE(testing::waitUntil([&] { return front().shown() != nullptr; }));
    EXPECT_EQ(m_prompts.boxes().size(), 2u);
    EXPECT_EQ(front().shown()->sim.name, "Club flight H128");
    m_window->showSelectedSet(0);
    EXPECT_EQ(front().shown(), nullptr);
}

TEST_F(SimulationFrontTest, AKeptSimulationComesBackWhenTheLibraryFlightIsOpened) {
    tt::ScopedLibrary scoped;
    auto lib = ui::libraryService().acquire();
    ASSERT_NE(lib, nullptr);
    const auto items = lib->importPaths({TEVUSB_SAMPLE_FLIGHT});
    ASSERT_TRUE(items.size() == 1 && items[0].outcome.ok());
    const auto record = lib->get(items[0].outcome.id);
    ASSERT_TRUE(record.has_value());
    const QString archive =
        QString::fromStdString((scoped.folder() / record->archivePath).string());
    m_prompts.choose(archive);
    trigger(command::kOpen);

    const QString csv = writeSim("one.csv", tt::openRocketCsv({}));
    front().load(csv);
    ASSERT_TRUE(testing::waitUntil([&] { return front().shown() != nullptr; }));
    trigger(view_command::kKeepSimulationInLibrary);
    ASSERT_TRUE(testing::waitUntil([&] { return !m_prompts.boxes().empty(); }));
    EXPECT_TRUE(m_prompts.boxes().back().text.contains("is kept with this flight"))
        << m_prompts.boxes().back().text.toStdString();
    ASSERT_TRUE(lib->attachedSimulation(record->id).has_value());

    // Another flight, then the library flight again: its simulation is back by itself.
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    ASSERT_TRUE(testing::waitUntil([&] { return !front().busy(); }));
    EXPECT_EQ(front().shown(), nullptr);
    m_prompts.choose(archive);
    trigger(command::kOpen);
    ASSERT_TRUE(testing::waitUntil([&] { return front().shown() != nullptr; }));
    EXPECT_EQ(front().shown()->sim.name, "Club flight H128");

    // A flight outside the library cannot keep one, and says why.
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    front().load(csv);
    ASSERT_TRUE(testing::waitUntil([&] { return front().shown() != nullptr; }));
    const std::size_t before = m_prompts.boxes().size();
    trigger(view_command::kKeepSimulationInLibrary);
    ASSERT_TRUE(testing::waitUntil([&] { return m_prompts.boxes().size() > before; }));
    EXPECT_TRUE(m_prompts.boxes().back().text.contains("not a flight of the library"));
}

}  // namespace
}  // namespace tevusb::app
