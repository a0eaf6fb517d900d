// SPDX-License-Identifier: MIT
// Times the PDF report of a full flight memory and a full-HD PNG of its graph, each
// rendered and encoded in memory (the file write is the disk's business), and prints the
// medians against their goals. Run a Release build: tevusb_report_bench [repetitions]
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "bench_util.h"
#include "data/data_set_store.h"
#include "graph/synthetic/synthetic_flight.h"
#include "log/diagnostic_log.h"
#include "report/image_export.h"
#include "report/pdf_report.h"
#include "report/report_builder.h"

using namespace tevusb;

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
    bench::report("PDF report, 3968 readings (statistics + page)", bench::medianMs(runs, pdf),
                  300.0);
    std::printf("  (%zu bytes)\n", bytes);

    const auto png = [&] {
        bytes = static_cast<std::size_t>(
            report::encodePng(store.current, QSize(1920, 1080), request.graph).size());
    };
    png();
    bench::report("PNG 1920x1080, 3968 readings (draw + encode)", bench::medianMs(runs, png), 50.0);
    std::printf("  (%zu bytes)\n", bytes);
    return 0;
}
