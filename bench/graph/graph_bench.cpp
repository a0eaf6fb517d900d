// SPDX-License-Identifier: MIT
// Times the set view and the live view at full-HD size and prints each median against
// its goal. Run a Release build: tevusb_graph_bench [repetitions]
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include <QImage>
#include <QPainter>

#include "graph/cursor_readout.h"
#include "graph/flight_graph.h"
#include "graph/simulation_overlay.h"
#include "graph/synthetic/synthetic_flight.h"
#include "log/diagnostic_log.h"

using namespace tevusb;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Timing {
    double wallMs;  // median elapsed time
    double cpuMs;   // median processor time used: shows the cost on a busy machine
};

// Processor time of the process; its other threads sleep while a view is drawn.
double processCpuMs() {
    return static_cast<double>(std::clock()) * 1e3 / CLOCKS_PER_SEC;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Timing measure(int repetitions, const std::function<void()>& work) {
    work();  // warm the glyph cache and the allocator
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < repetitions; ++i) {
        const double cpuStart = processCpuMs();
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        cpu.push_back(processCpuMs() - cpuStart);
        wall.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    return {median(wall), median(cpu)};
}

void report(const char* what, Timing t, double goal) {
    std::printf(
        "%-40s wall median %8.3f ms ratio %.3f | cpu median %8.3f ms ratio %.3f"
        " (goal %.0f ms)\n",
        what, t.wallMs, t.wallMs / goal, t.cpuMs, t.cpuMs / goal, goal);
}

// One set of the given number of packets, shown and fitted as the window would.
void loadSet(data::DataSetStore& store, graph::FlightGraph& graph, int packets) {
    synthetic::FlightProfile profile;
    profile.readingCount = packets * data::MemoryPacket::kWordCount;
    profile.apogeeAgl = 1200.0;
    store.packets = synthetic::packWords(synthetic::flightWords(profile));
    graph.ShowSet(0);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 41;
    log::DiagnosticLog::instance().setSink(nullptr);

    data::DataSetStore store;
    surface::DisplaySurface surface;
    graph::FlightGraph graph(store, surface);
    if (!surface.create(kWidth, kHeight)) {
        std::fprintf(stderr, "cannot create a %dx%d surface\n", kWidth, kHeight);
        return 1;
    }
    graph.setClientSize(kWidth, kHeight);

    loadSet(store, graph, 128);
    report("set view, full memory (3968 readings)",
           measure(repetitions, [&] { graph.RedrawGraph(); }), 4.0);

    loadSet(store, graph, 65535);
    std::printf("(%zu readings in the large set)\n", store.current.size());
    report("set view, 65535-packet file",
           measure(std::max(5, repetitions / 4), [&] { graph.RedrawGraph(); }), 20.0);

    // The analysis view: axes, grid, markers; then the readout as the widget paints it.
    graph.setAnalysisView(true);
    loadSet(store, graph, 128);
    report("analysis view, full memory (3968 readings)",
           measure(repetitions, [&] { graph.RedrawGraph(); }), 6.0);
    {
        // A 50 000-row simulation over the whole flight, drawn dashed with its events.
        const double span = store.current.size() / 10.0;
        simulation::Simulation sim;
        sim.name = "50 000 rows";
        for (int i = 0; i < 50000; ++i) {
            const double t = span * i / 50000.0;
            sim.timeS.push_back(t);
            sim.altitudeM.push_back(1300.0 * std::sin(3.14159 * t / span));
            sim.verticalVelocityMs.push_back(1300.0 * 3.14159 / span *
                                             std::cos(3.14159 * t / span));
        }
        sim.events = {{"liftoff", 0.0}, {"burnout", 2.0}, {"apogee", span / 2}};
        const auto overlay =
            std::make_shared<graph::SimulationOverlay>(graph::makeSimulationOverlay(
                sim, simulation::simulationFacts(sim), graph.statistics().launchTimeS));
        graph.changeView([&](graph::AnalysisViewState& s) { s.simulation = overlay; });
        report("analysis view + 50000-row simulation",
               measure(repetitions, [&] { graph.RedrawGraph(); }), 6.0);
        graph.changeView([](graph::AnalysisViewState& s) { s.simulation.reset(); });
    }
    QImage overlay(kWidth, kHeight, QImage::Format_RGB32);
    const QRect plot = graph.shownLayout().plot();
    int step = 0;
    report("cursor readout (nearest sample + overlay)",
           measure(repetitions * 10,
                   [&] {
                       const double x = plot.left() + (step++ * 37) % plot.width();
                       const auto cursor = graph.cursorAt(x);
                       if (cursor) {
                           QPainter painter(&overlay);
                           graph::drawCursorReadout(painter, cursor->layout, cursor->sample);
                       }
                   }),
           1.0);
    graph.changeView([](graph::AnalysisViewState& s) {
        s.window.zoomTo(s.window.duration() / 2, s.window.duration() / 2 + 20.0);
    });
    report("analysis view, zoomed to 20 s", measure(repetitions, [&] { graph.RedrawGraph(); }),
           6.0);
    loadSet(store, graph, 65535);
    report("analysis view, 65535-packet file",
           measure(std::max(5, repetitions / 4), [&] { graph.RedrawGraph(); }), 16.0);
    graph.setAnalysisView(false);

    synthetic::FlightProfile profile;
    profile.readingCount = 128 * data::MemoryPacket::kWordCount;
    for (const std::uint16_t word : synthetic::flightWords(profile)) {
        store.fast.add(word, 0);
    }
    report("live view, full memory (3968 values)",
           measure(repetitions, [&] { graph.DrawFastSet(); }), 4.0);
    return 0;
}
