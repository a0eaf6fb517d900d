// SPDX-License-Identifier: MIT
// Times the flight comparison redraw at full-HD size: ten flights that each fill the
// altimeter's memory, altitude and velocity, lined up at launch. Prints the median against
// its goal. Run a Release build: tevusb_comparison_bench [repetitions]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "bench_util.h"
#include "data/data_set_store.h"
#include "graph/comparison_view.h"
#include "graph/synthetic/synthetic_flight.h"
#include "log/diagnostic_log.h"

using namespace tevusb;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFullMemoryReadings = 128 * 31;
constexpr double kGoalMs = 16.0;

std::vector<graph::ComparedFlight> flights() {
    std::vector<graph::ComparedFlight> result;
    for (int i = 0; i < 10; ++i) {
        synthetic::FlightProfile profile;
        profile.apogeeAgl = 300.0 + 80.0 * i;
        profile.readingCount = kFullMemoryReadings - 40 * i;
        data::DataSetStore store;
        store.packets = synthetic::packWords(synthetic::flightWords(profile));
        store.selectSet(0);
        graph::ComparedFlight f;
        f.name = QStringLiteral("flight %1").arg(i + 1);
        f.set = store.current;
        f.statistics = analysis::computeStatistics(f.set);
        result.push_back(std::move(f));
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    log::DiagnosticLog::instance().setSink(nullptr);

    const auto compared = flights();
    std::vector<analysis::FlightStatistics> statistics;
    for (const auto& f : compared) {
        statistics.push_back(f.statistics);
    }
    const auto alignment = analysis::alignFlights(statistics, analysis::AlignAt::Launch);
    graph::ComparisonState state;
    state.velocity = true;
    state.window.setFlight(alignment.endS - alignment.startS);

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    graph::AnalysisLayout layout;
    const auto draw = [&] {
        QPainter painter(&image);
        layout = graph::drawComparison(painter, image.rect(), compared, alignment, state,
                                       analysis::UnitSystem::Metric);
    };
    draw();
    bench::report("comparison redraw, 10 x 3968 readings, 1920x1080", bench::medianMs(runs, draw),
                  kGoalMs);
    state.window.zoomAround(0.0, 0.1);
    bench::report("comparison redraw zoomed on launch", bench::medianMs(runs, draw), kGoalMs);
    return 0;
}
