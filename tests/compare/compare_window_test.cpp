// SPDX-License-Identifier: MIT
// The comparison window and its graph, offscreen, on made-up flights saved as data-set
// files the way the program saves them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTemporaryDir>

#include "analysis/statistics_table.h"
#include "analysis/units.h"
#include "data/data_set_store.h"
#include "graph/synthetic/synthetic_flight.h"
#include "support/log_capture.h"
#include "support/screenshot.h"
#include "support/sim_files.h"
#include "support/temp_dir.h"
#include "ui/compare/compare_flights_window.h"
#include "ui/compare/comparison_graph.h"
#include "ui/scripted_prompts.h"

namespace tevusb::ui {
namespace {

class CompareWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { m_previous = setUserPrompts(&m_prompts); }
    void TearDown() override { setUserPrompts(m_previous); }

    QString saveFlight(const QString& name, double apogee, int readings) {
        synthetic::FlightProfile profile;
        profile.apogeeAgl = apogee;
        profile.readingCount = readings;
        data::DataSetStore store;
        store.packets = synthetic::packWords(synthetic::flightWords(profile));
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(store.saveSetFile(path.toStdString(), 0));
        return path;
    }

    // Counts the pixels of `colour` in the picture.
    static int count(const QImage& image, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += (image.pixel(x, y) | 0xFF000000) == (colour | 0xFF000000) ? 1 : 0;
            }
        }
        return n;
    }

    tevusb::testing::LogCapture m_quiet;
    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    UserPrompts* m_previous = nullptr;
};

TEST_F(CompareWindowTest, FlightsOfDifferentLengthsLineUpAtLaunchOrApogee) {
    CompareFlightsWindow window;
    window.resize(1000, 760);
    window.show();
    ASSERT_EQ(
        window.addFiles({saveFlight("low.tev", 300.0, 500), saveFlight("high.tev", 900.0, 1200)}),
        2);
    const auto& flights = window.flights();
    ASSERT_EQ(flights.size(), 2u);
    ASSERT_TRUE(flights[0].statistics.launchTimeS && flights[1].statistics.launchTimeS);

    // At common time 0 the readout gives each flight's own launch sample, so both read
    // about the ground; at apogee alignment both read their apogee height.
    ComparisonGraph* graph = window.graph();
    const QImage first = graph->picture();
    const auto& layout = graph->layout();
    ASSERT_TRUE(layout.valid());
    QStringList at0 = graph->readoutAt(layout.altitude().x(0.0));
    ASSERT_EQ(at0.size(), 3);
    for (int i = 1; i <= 2; ++i) {
        const auto& set = flights[static_cast<std::size_t>(i - 1)].set;
        const auto k = static_cast<std::size_t>(
            std::lround(*flights[static_cast<std::size_t>(i - 1)].statistics.launchTimeS * 10));
        EXPECT_TRUE(at0[i].contains(QString::fromStdString(
            analysis::formatQuantity(analysis::Quantity::Altitude, set.smoothedAltitude[k],
                                     analysis::UnitSystem::Metric, 1))))
            << at0[i].toStdString();
    }
    // Lined up on launch, the first line gives the common clock and the flights need none
    // of their own; lined up on apogee, each flight says its own time from its launch.
    EXPECT_EQ(at0[0], QStringLiteral("Time T+0.0 s"));
    EXPECT_FALSE(at0[1].contains(QStringLiteral("T+"))) << at0[1].toStdString();
    // Before the first flight's launch the common clock reads T-.
    const QStringList early = graph->readoutAt(layout.altitude().x(layout.altitude().t0()));
    EXPECT_TRUE(early[0].startsWith(QStringLiteral("Time T-"))) << early[0].toStdString();
    // Both flights drawn, each in its own colour.
    EXPECT_GT(count(first, graph::comparisonColour(0)), 200);
    EXPECT_GT(count(first, graph::comparisonColour(1)), 200);

    window.setAlignAt(analysis::AlignAt::Apogee);
    graph->picture();
    const QStringList top = graph->readoutAt(graph->layout().altitude().x(0.0));
    EXPECT_EQ(top[0], QStringLiteral("Time at apogee"));
    const QStringList after = graph->readoutAt(graph->layout().altitude().x(2.0));
    EXPECT_EQ(after[0], QStringLiteral("Time 2.0 s after apogee"));
    for (int i = 1; i <= 2; ++i) {
        const auto& s = flights[static_cast<std::size_t>(i - 1)].statistics;
        const auto& set = flights[static_cast<std::size_t>(i - 1)].set;
        EXPECT_TRUE(top[i].contains(QString::fromStdString(analysis::formatQuantity(
            analysis::Quantity::Altitude,
            set.smoothedAltitude[static_cast<std::size_t>(s.apogee->sample)],
            analysis::UnitSystem::Metric, 1))))
            << top[i].toStdString();
        const QString own = QString::fromStdString(
            analysis::flightTimeText(s.apogee->sample / 10.0, s.launchTimeS));
        EXPECT_TRUE(top[i].startsWith(flights[static_cast<std::size_t>(i - 1)].name +
                                      QStringLiteral(": ") + own))
            << top[i].toStdString();
    }
    // Zooming narrows the view around the cursor; Home gives the whole span back.
    const double span = graph->state().window.span();
    graph->zoomAround(0.0, 0.5);
    EXPECT_NEAR(graph->state().window.span(), span / 2, 1e-9);
    graph->resetZoom();
    EXPECT_NEAR(graph->state().window.span(), span, 1e-9);

    // A picture to look at: three flights with velocity, the readout at apogee.
    window.addFiles({saveFlight("mid.tev", 600.0, 800)});
    window.setQuantities(true, true);
    graph->picture();
    const QPointF at(graph->layout().altitude().x(0.3), graph->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, at, graph->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(graph, &move);
    EXPECT_TRUE(tevusb::testing::saveShot(window, "compare_flights.png"));
}

TEST_F(CompareWindowTest, TheTableHasAColumnPerFlightWithDifferencesAndUnreadableFilesAreNamed) {
    CompareFlightsWindow window;
    const QString junk = m_dir.filePath("junk.tev");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a flight");
    f.close();
    m_prompts.choose(QString());  // a cancelled dialog adds nothing
    window.chooseFiles();
    ASSERT_TRUE(window.waitForLoading(10000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.flights().empty());
    // Chosen files are read off the window thread and added once read.
    m_prompts.choose(saveFlight("chosen.tev", 450.0, 600));
    window.chooseFiles();
    ASSERT_TRUE(window.waitForLoading(10000));
    QCoreApplication::processEvents();
    ASSERT_EQ(window.flights().size(), 1u);
    EXPECT_EQ(window.flights()[0].name, "chosen.tev, set 1") << "a plain file by its name and set";
    EXPECT_TRUE(m_prompts.boxes().empty());
    window.removeFlight(0);

    EXPECT_EQ(
        window.addFiles({saveFlight("a.tev", 400.0, 600), junk, saveFlight("b.tev", 500.0, 600)}),
        2);
    ASSERT_EQ(m_prompts.boxes().size(), 1u);
    EXPECT_TRUE(m_prompts.boxes()[0].text.contains("junk.tev"));
    QTableWidget* table = window.table();
    ASSERT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "b.tev, set 1");
    EXPECT_EQ(table->verticalHeaderItem(0)->text(), "Apogee");
    EXPECT_FALSE(table->item(0, 0)->text().contains("("));
    EXPECT_TRUE(table->item(0, 1)->text().contains("(+"))
        << table->item(0, 1)->text().toStdString();
    window.setUnits(analysis::UnitSystem::Imperial);
    EXPECT_TRUE(table->item(0, 1)->text().contains("ft"));

    window.removeFlight(0);
    ASSERT_EQ(window.flights().size(), 1u);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "b.tev, set 1");

    // Ten at most: the eleventh is refused with a message, not dropped silently.
    QStringList many;
    for (int i = 0; i < 10; ++i) {
        many.push_back(saveFlight(QStringLiteral("m%1.tev").arg(i), 300.0 + i, 300));
    }
    EXPECT_EQ(window.addFiles(many), 9);
    EXPECT_EQ(window.flights().size(), CompareFlightsWindow::kMaxFlights);
    EXPECT_TRUE(m_prompts.boxes().back().text.contains("At most 10"));
}

TEST_F(CompareWindowTest, SimulationFilesAddACurvePerSimulationWithData) {
    CompareFlightsWindow window;
    const std::vector<tevusb::testing::OrkSimulation> club = {
        {"F67 at the club field", true, 1, false, 1.0},
        {"G80 windy", false, 1, false, 1.4},
        {"H128 two stages", true, 2, false, 1.5},
    };
    const QString ork = m_dir.filePath("club.ork");
    tevusb::testing::writeAll(ork.toStdString(),
                              tevusb::testing::zipped(tevusb::testing::orkXml(club)));
    const QString nan = m_dir.filePath("nan.csv");
    tevusb::testing::writeAll(nan.toStdString(), "# Time (s),Altitude (m)\nNaN,NaN\n");
    EXPECT_EQ(window.addFiles({saveFlight("flown.tev", 450.0, 600), ork, nan}), 3);
    ASSERT_EQ(window.flights().size(), 3u);
    EXPECT_EQ(window.flights()[1].name, "F67 at the club field (simulation)");
    EXPECT_EQ(window.flights()[2].name, "H128 two stages (simulation)");
    ASSERT_EQ(m_prompts.boxes().size(), 1u);
    EXPECT_TRUE(m_prompts.boxes()[0].text.contains("nan.csv"));

    // Its apogee and the curve under it are the simulation's, on its own clock.
    const auto& f = tevusb::testing::referenceFlight();
    const graph::ComparedFlight& sim = window.flights()[1];
    ASSERT_TRUE(sim.statistics.apogee.has_value());
    EXPECT_NEAR(sim.statistics.apogee->aglM, f.apogeeM, 0.5);
    EXPECT_NEAR(sim.statistics.apogee->timeS, f.apogeeS, 0.1);
    EXPECT_NEAR(sim.set.smoothedAltitude[sim.statistics.apogee->sample], f.apogeeM, 1.0);
    ASSERT_TRUE(sim.statistics.launchTimeS.has_value());
    EXPECT_NEAR(*sim.statistics.launchTimeS, 0.0, 1e-9);
    EXPECT_EQ(window.table()->horizontalHeaderItem(1)->text(),
              "F67 at the club field (simulation)");
}

}  // namespace
}  // namespace tevusb::ui

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
