// SPDX-License-Identifier: MIT
// A simulation drawn over the flight in the analysis view: dashed in the flight's colours,
// aligned at launch, inside the plot when it flew higher, its events as markers.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>

#include "graph/analysis_axes.h"
#include "graph/analysis_palette.h"
#include "graph/analysis_view.h"
#include "graph/flight_graph.h"
#include "graph/simulation_overlay.h"
#include "graph_test_support.h"

namespace tevusb::graph {
namespace {

namespace ap = analysis_palette;
using analysis::UnitSystem;

constexpr int kWidth = 1200;
constexpr int kHeight = 700;

// A simulated flight that climbs at a steady 100 m/s to 1000 m (10 s after its liftoff at
// 2 s of its own clock) and comes down at 20 m/s; rows every 0.01 s.
simulation::Simulation steadySimulation() {
    simulation::Simulation sim;
    sim.name = "Steady climb";
    for (int i = 0; i <= 8000; ++i) {
        const double t = i * 0.01;
        const double s = t - 2.0;
        double h = 0.0, v = 0.0;
        if (s > 0.0 && s <= 10.0) {
            h = 100.0 * s, v = 100.0;
        } else if (s > 10.0) {
            h = std::max(0.0, 1000.0 - 20.0 * (s - 10.0)), v = h > 0.0 ? -20.0 : 0.0;
        }
        sim.timeS.push_back(t);
        sim.altitudeM.push_back(h);
        sim.verticalVelocityMs.push_back(v);
    }
    sim.events = {{"liftoff", 2.0}, {"apogee", 12.0}, {"launchrod", 2.1}};
    return sim;
}

struct SimulationOverlayTest : ::testing::Test {
    testing::LogCapture log;
    data::DataSetStore store;
    analysis::FlightStatistics stats;

    void SetUp() override {
        synthetic::FlightProfile profile;
        profile.readingCount = 900;
        profile.apogeeAgl = 500.0;
        testing::loadFlight(store, profile);
        store.selectSet(0);
        stats = analysis::computeStatistics(store.current);
        ASSERT_TRUE(stats.launchTimeS);
    }

    QImage draw(const AnalysisViewState& state, AnalysisLayout& layout) const {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        layout = drawAnalysisView(painter, image.rect(), store.current, stats, state,
                                  UnitSystem::Metric);
        return image;
    }
};

TEST_F(SimulationOverlayTest, DashedAltitudeLiesWhereTheSimulationWasAlignedAtLaunch) {
    const simulation::Simulation sim = steadySimulation();
    AnalysisViewState state;
    state.simulation = std::make_shared<SimulationOverlay>(
        makeSimulationOverlay(sim, simulation::simulationFacts(sim), stats.launchTimeS));
    AnalysisLayout layout;
    const QImage image = draw(state, layout);
    ASSERT_TRUE(layout.valid());
    // The simulation reached 1000 m, twice the flight: the axis grew to hold it.
    EXPECT_GT(layout.altitude().v1(), 1000.0);

    // From 5 s after its apogee the simulation comes down at 20 m/s, far above the flight.
    // Column by column there, red lies on the simulated line, with the dash pattern's gaps.
    const double launch = *stats.launchTimeS;
    const PlotMapping& m = layout.altitude();
    int onCurve = 0;
    int gaps = 0;
    for (int x = m.px(launch + 15.0); x < m.px(launch + 20.0); ++x) {
        const double t = m.t0() + (x - m.x(m.t0())) / (m.x(m.t0() + 1.0) - m.x(m.t0()));
        const int y = m.py(1000.0 - 20.0 * (t - launch - 10.0));
        const int red =
            testing::countColour(image, QRect(x, y - 3, 1, 7), testing::opaque(ap::kAltitude));
        (red > 0 ? onCurve : gaps) += 1;
    }
    EXPECT_GE(onCurve, 2 * gaps) << onCurve << " on, " << gaps << " off";
    EXPECT_GE(gaps, 3);  // dashed, not solid
    const double t0 = launch + 17.0;

    // Without the overlay that place is empty.
    AnalysisLayout plain;
    const QImage without = draw(AnalysisViewState{}, plain);
    const int x = plain.altitude().px(t0);
    EXPECT_FALSE(testing::colourNear(without, x, plain.altitude().py(860.0),
                                     testing::opaque(ap::kAltitude), 3));

    // Its apogee is a marker at launch + 10 s; the launch-rod event is left out.
    ASSERT_EQ(state.simulation->events.size(), 1u);
    EXPECT_NEAR(state.simulation->events[0].timeS, *stats.launchTimeS + 10.0, 1e-9);
    EXPECT_GT(testing::countColour(image,
                                   QRect(layout.altitude().px(*stats.launchTimeS + 10.0) - 1,
                                         layout.plot().top(), 3, layout.plot().height()),
                                   testing::opaque(ap::kApogee)),
              20);
}

// A flight's events and its simulation's crowd the first seconds: eight labels within a
// few seconds, on a narrow picture, still each get a place of their own.
TEST_F(SimulationOverlayTest, CrowdedMarkerLabelsNeverOverlap) {
    const double launch = *stats.launchTimeS;
    std::vector<ExtraMarker> markers;
    const char* names[] = {"Launch", "Burnout",       "Sim burnout",
                           "Line A", "Apogee 656 m",  "Sim apogee + deployment",
                           "Line B", "Sim deployment"};
    for (int i = 0; i < 8; ++i) {
        markers.push_back({launch + 0.4 * i, QString::fromLatin1(names[i]), ap::kApogee});
    }
    markers.push_back({-100.0, QStringLiteral("Before the recording"), ap::kApogee});
    QImage image(640, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(analysisFont());
    const AnalysisLayout layout(image.rect(), store.current, AnalysisViewState{},
                                UnitSystem::Metric, analysisFont(), &image);
    const auto boxes = markerLabelBoxes(painter.fontMetrics(), layout, markers);
    ASSERT_EQ(boxes.size(), markers.size());
    EXPECT_TRUE(boxes.back().isNull());  // outside the time shown: no label
    for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
        ASSERT_FALSE(boxes[i].isNull()) << names[i];
        EXPECT_TRUE(QRectF(image.rect()).contains(boxes[i])) << names[i];
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_FALSE(boxes[i].intersects(boxes[j])) << names[i] << " on " << names[j];
        }
    }
}

TEST_F(SimulationOverlayTest, GraphDropsTheOverlayWithItsFlight) {
    surface::DisplaySurface surface;
    FlightGraph graph(store, surface);
    ASSERT_TRUE(graph.ShowSet(0));
    const simulation::Simulation sim = steadySimulation();
    graph.changeView([&](AnalysisViewState& view) {
        view.simulation = std::make_shared<SimulationOverlay>(
            makeSimulationOverlay(sim, simulation::simulationFacts(sim), stats.launchTimeS));
    });
    EXPECT_NE(graph.viewState().simulation, nullptr);
    ASSERT_TRUE(graph.ShowSet(0));
    EXPECT_EQ(graph.viewState().simulation, nullptr);
}

}  // namespace
}  // namespace tevusb::graph
