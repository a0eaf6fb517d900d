// SPDX-License-Identifier: MIT
#include "cli/report/report_command.h"

#include "cli/cli_path.h"
#include "cli/exit_code.h"
#include "cli/report/compare_command.h"

#include <filesystem>
#include <vector>

#include "analysis/flight_statistics.h"
#include "cli/stats_simulation.h"
#include "data/data_set_store.h"
#include "graph/simulation_overlay.h"
#include "report/image_export.h"
#include "report/pdf_report.h"
#include "report/report_builder.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace tevusb::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tevusb-cli report FILE.tev [--set K] (--pdf OUT.pdf | --png OUT.png | --svg "
    "OUT.svg) [--units metric|imperial] [--size WxH] [--view set|analysis]\n"
    "           [--rocket TEXT] [--motor TEXT] [--site TEXT] [--date TEXT] [--comment TEXT]\n"
    "           [--name TEXT] [--sim FILE [--sim-name NAME]] [--mass KG] [--diameter M]\n"
    "       tevusb-cli report FILE.tev FILE.tev... [--set K] --pdf OUT.pdf [--units U]\n";

struct Output {
    enum class Kind { Pdf, Png, Svg };
    Kind kind;
    std::string path;
};

const char* kindName(Output::Kind kind) {
    switch (kind) {
        case Output::Kind::Pdf:
            return "PDF report";
        case Output::Kind::Png:
            return "PNG picture";
        case Output::Kind::Svg:
            return "SVG picture";
    }
    return "file";
}

}  // namespace

std::optional<QSize> parseImageSize(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        return std::nullopt;
    }
    const auto width = parseInt(text.substr(0, x));
    const auto height = parseInt(text.substr(x + 1));
    if (!width || !height || *width <= 0 || *height <= 0 || text[0] == '+' || text[0] == '-') {
        return std::nullopt;
    }
    return QSize(*width, *height);
}

int runReportCommand(CliArgs& args, std::ostream& out, std::ostream& err) {
    std::vector<Output> outputs;
    for (const auto& [option, kind] :
         {std::pair{"--pdf", Output::Kind::Pdf}, std::pair{"--png", Output::Kind::Png},
          std::pair{"--svg", Output::Kind::Svg}}) {
        if (auto path = args.takeOption(option)) {
            outputs.push_back({kind, *path});
        }
    }
    const auto unitsText = args.takeOption("--units");
    const auto sizeText = args.takeOption("--size");
    const auto viewText = args.takeOption("--view");
    // What the flyer knows about the flight, for the page's Flight table; --comment stands
    // in for the comment the file was saved with (the library's may have been edited since).
    report::FlightFields fields;
    bool anyField = false;
    for (const auto& [option, field] :
         {std::pair{"--rocket", &fields.rocket}, std::pair{"--motor", &fields.motor},
          std::pair{"--site", &fields.site}, std::pair{"--date", &fields.date}}) {
        if (auto value = args.takeOption(option)) {
            *field = std::move(*value);
            anyField = true;
        }
    }
    const auto commentText = args.takeOption("--comment");
    const auto nameText = args.takeOption("--name");
    const auto rocket = takeRocketOptions(args, err);
    if (!rocket) {
        return exit_code::kUsage;
    }
    if (rocket->any() && !rocket->simPath) {
        err << "--mass and --diameter go with --sim FILE in a report.\n";
        return exit_code::kUsage;
    }
    const auto k = args.takeSetIndex(err);
    if (!k) {
        return exit_code::kUsage;
    }
    std::vector<std::string> files;
    while (auto file = args.takePositional()) {
        files.push_back(*file);
    }
    if (files.empty() || outputs.empty()) {
        err << kUsage;
        return exit_code::kUsage;
    }
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    const std::string* path = &files.front();

    report::ReportRequest request;
    if (unitsText && !analysis::parseUnitSystem(*unitsText, request.graph.units)) {
        err << "--units takes metric or imperial, not \"" << *unitsText << "\".\n";
        return exit_code::kUsage;
    }
    std::optional<report::GraphView> view;
    if (viewText) {
        report::GraphView parsed{};
        if (!report::parseGraphView(*viewText, parsed)) {
            err << "--view takes set or analysis, not \"" << *viewText << "\".\n";
            return exit_code::kUsage;
        }
        view = parsed;
    }
    QSize size(kDefaultImageWidth, kDefaultImageHeight);
    if (sizeText) {
        const auto parsed = parseImageSize(*sizeText);
        if (!parsed || !report::validImageSize(*parsed)) {
            err << "--size takes WIDTHxHEIGHT in pixels, each " << report::kMinImageSide << " to "
                << report::kMaxImageSide << ", not \"" << *sizeText << "\".\n";
            return exit_code::kUsage;
        }
        size = *parsed;
    }

    if (files.size() > 1) {
        // The fields describe one flight; on a page of several they would belong to none.
        if (anyField || commentText || rocket->any()) {
            err << "--rocket, --motor, --site, --date, --comment and --sim describe one flight, "
                   "not a comparison.\n";
            return exit_code::kUsage;
        }
        std::vector<std::string> pdfs;
        for (const Output& output : outputs) {
            if (output.kind != Output::Kind::Pdf) {
                err << "Several flights make a comparison report: --pdf only.\n";
                return exit_code::kUsage;
            }
            pdfs.push_back(output.path);
        }
        return runComparisonReport(files, *k, request.graph.units, pdfs, out, err);
    }

    std::optional<simulation::Simulation> sim;
    if (rocket->simPath && !(sim = chooseSimulation(*rocket, err))) {
        return exit_code::kFailed;
    }
    data::DataSetStore store;
    data::LoadError error;
    if (!store.loadSetFile(toPath(*path), error)) {
        err << text::stringText(text::string_ids::kLoadFailed) << "\n" << error.message << "\n";
        return exit_code::kFailed;
    }
    if (*k >= store.setCount()) {
        err << "The file holds " << store.setCount() << " set start(s); there is no set " << *k
            << ".\n";
        return exit_code::kFailed;
    }
    store.selectSet(*k);
    request.source = toText(toPath(*path).filename());
    request.name = nameText.value_or(std::string());
    // A picture is the graph alone, as the window's Export Image makes it, so the fields are
    // taken and not drawn there: one command line can then write a report and a picture.
    if (anyField) {
        request.flight = std::move(fields);
    }
    const std::string comment = commentText ? *commentText : store.comment(*k);
    if (sim) {
        // Drawn over the flight as the analysis view draws it, and compared on a page of its
        // own, as the window's report does with a simulation shown.
        const auto stats = analysis::computeStatistics(store.current);
        auto comparison =
            std::make_shared<const simulation::FlightAgainstSimulation>(simulation::compareFlight(
                store.current, stats, std::move(*sim), toText(toPath(*rocket->simPath).filename()),
                rocketOverrides(*rocket)));
        graph::AnalysisViewState state;
        state.simulation = std::make_shared<const graph::SimulationOverlay>(
            graph::makeSimulationOverlay(std::move(comparison), stats.launchTimeS));
        request.graph.analysisState = std::move(state);
    }

    int status = exit_code::kOk;
    for (const Output& output : outputs) {
        // A report is read for its axes and markers; a picture shows the window's default.
        request.graph.view = view.value_or(
            output.kind == Output::Kind::Pdf ? report::kReportDefaultView : report::GraphView::Set);
        std::string problem;
        if (output.kind == Output::Kind::Pdf) {
            const report::ReportContent content =
                report::buildReportContent(store.current, store.settings, comment, request);
            problem = report::writePdfReport(toPath(output.path), content);
        } else {
            const auto format = output.kind == Output::Kind::Png ? report::ImageFormat::Png
                                                                 : report::ImageFormat::Svg;
            problem = report::writeGraphImage(toPath(output.path), format, store.current, size,
                                              request.graph);
        }
        if (!problem.empty()) {
            err << problem << "\n";
            status = exit_code::kFailed;
            continue;
        }
        out << "Wrote " << output.path << " (" << kindName(output.kind) << ", "
            << (request.name.empty() ? "data set " + std::to_string(*k + 1) : request.name) << ", "
            << analysis::unitSystemName(request.graph.units) << ").\n";
    }
    return status;
}

}  // namespace tevusb::cli
