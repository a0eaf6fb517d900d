// SPDX-License-Identifier: MIT
// Times the PDF report of a full flight memory and a full-HD PNG of its graph, each
// rendered and encoded in memory (the file write is the disk's business), and prints the
// medians against their goals. Run a Release build: tevusb_report_bench [repetitions]
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "bench_util.h"
#include "data/data_set_store.h"
#include "graph/synthetic/synthetic_flight.h"
#include "log/diagnostic_log.h"
#include "report/comparison_report.h"
#include "report/image_export.h"
#include "report/pdf_report.h"
#include "report/report_builder.h"

using namespace tevusb;

namespace {

// Median processor time of `work` in ms: on a shared, busy machine the wall time mostly
// measures the other processes; the work itself runs on this one thread.
double medianCpuMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t start = std::clock();
        work();
        times.push_back(static_cast<double>(std::clock() - start) * 1e3 / CLOCKS_PER_SEC);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    log::DiagnosticLog::instance().setSink(nullptr);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;

    synthetic::FlightProfile profile;
    profile.readingCount = 128 * 31;
    profile.apogeeAgl = 1500.0;
    data::DataSetStore store;
    store.packets = synthetic::packWords(synthetic::flightWords(profile));
    store.comments.assign(1, "Full flight memory");
    store.selectSet(0);
    std::printf("set of %zu readings, %d runs\n", store.current.size(), runs);

    report::ReportRequest request;
    request.graph.view = report::kReportDefaultView;
    request.source = "full-memory.tev";
    std::size_t bytes = 0;
    const auto pdf = [&] {
        const report::ReportContent content =
            report::buildReportContent(store.current, store.settings, store.comment(0), request);
        bytes = static_cast<std::size_t>(report::renderPdf(content).size());
    };
    pdf();  // fonts and glyph caches
    bench::report("PDF report, 3968 readings: wall", bench::medianMs(runs, pdf), 300.0);
    bench::report("PDF report, 3968 readings: cpu", medianCpuMs(runs, pdf), 300.0);
    std::printf("  (%zu bytes)\n", bytes);

    // The comparison page is written on the window thread; it must stay as bounded.
    report::ComparisonContent comparison;
    for (int i = 0; i < 10; ++i) {
        graph::ComparedFlight flight;
        flight.name = QStringLiteral("flight %1").arg(i + 1);
        flight.set = store.current;
        flight.statistics = analysis::computeStatistics(flight.set);
        comparison.flights.push_back(std::move(flight));
    }
    const auto compare = [&] {
        bytes = static_cast<std::size_t>(report::renderComparisonPdf(comparison).size());
    };
    compare();
    bench::report("Comparison PDF, 10 x 3968 readings: wall", bench::medianMs(runs, compare),
                  300.0);
    bench::report("Comparison PDF, 10 x 3968 readings: cpu", medianCpuMs(runs, compare), 300.0);

    for (const report::GraphView view : {report::GraphView::Set, report::GraphView::Analysis}) {
        report::GraphOptions options = request.graph;
        options.view = view;
        const std::string name =
            std::string("PNG 1920x1080, ") + report::graphViewName(view) + " view, draw + encode: ";
        const auto png = [&] {
            bytes = static_cast<std::size_t>(
                report::encodePng(store.current, QSize(1920, 1080), options).size());
        };
        png();
        bench::report((name + "wall").c_str(), bench::medianMs(runs, png), 50.0);
        bench::report((name + "cpu").c_str(), medianCpuMs(runs, png), 50.0);
        const auto draw = [&] {
            report::renderGraphImage(store.current, QSize(1920, 1080), options);
        };
        bench::report("  of which drawing alone: cpu", medianCpuMs(runs, draw), 50.0);
        std::printf("  (%zu bytes)\n", bytes);
    }
    return 0;
}
