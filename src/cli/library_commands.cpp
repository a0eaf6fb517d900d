// SPDX-License-Identifier: MIT
#include "cli/library_commands.h"

#include <charconv>
#include <map>

#include "cli/cli_path.h"
#include "cli/exit_code.h"
#include "cli/library_json.h"
#include "cli/library_option.h"
#include "cli/library_simulation.h"
#include "cli/library_text.h"
#include "cli/report_exec.h"
#include "cli/terminal.h"
#include "library/archive_index.h"
#include "library/export_name.h"
#include "library/export_plan.h"
#include "library/export_run.h"
#include "library/flight_library.h"
#include "library/flight_name.h"
#include "library/preflight_record.h"

namespace tevusb::cli {

namespace {

using library::FlightLibrary;
using library::LibraryStatus;

constexpr const char* kUsage =
    "Usage: tevusb-cli [--library DIR] library list [--json] [--filter TEXT] [--desc]\n"
    "           [--sort id|date|apogee|velocity|duration|rocket|motor|site] [--units U]\n"
    "       tevusb-cli library show ID [--units metric|imperial]\n"
    "       tevusb-cli library export ID --tev|--csv|--xml OUT|DIR [--yes]\n"
    "       tevusb-cli library import FILE.tev|DIR...\n"
    "       tevusb-cli library edit ID [--rocket T] [--motor T] [--site T] [--notes T] "
    "[--comment T] [--date YYYY-MM-DD]\n"
    "       tevusb-cli library report ID (--pdf OUT.pdf | --png OUT.png | --svg OUT.svg)\n"
    "           [--units metric|imperial] [--size WxH] [--view set|analysis]\n"
    "       tevusb-cli library delete ID [--yes]\n"
    "       tevusb-cli library rebuild\n"
    "       tevusb-cli library attach-sim ID FILE [--sim-name NAME]\n";

// Opens the library or says in one line why not.
bool openOrComplain(FlightLibrary& flights, std::ostream& err) {
    const auto opened = flights.open();
    if (!flights.isOpen()) {
        err << opened.message << "\n";
        return false;
    }
    if (!opened.message.empty()) {
        err << opened.message << "\n";
    }
    return true;
}

std::optional<std::int64_t> takeId(CliArgs& args, std::ostream& err) {
    const auto word = args.takePositional();
    std::int64_t id = 0;
    if (word) {
        const auto* end = word->data() + word->size();
        const auto* start = word->data() + (word->front() == '#' ? 1 : 0);
        const auto r = std::from_chars(start, end, id);
        if (r.ec == std::errc() && r.ptr == end && id > 0) {
            return id;
        }
    }
    err << "A flight id (a whole number from `library list`) is needed.\n" << kUsage;
    return std::nullopt;
}

// --units metric|imperial for the texts; the JSON stays in SI whatever is chosen.
std::optional<analysis::UnitSystem> takeUnits(CliArgs& args, std::ostream& err) {
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    const auto text = args.takeOption("--units");
    if (text && !analysis::parseUnitSystem(*text, units)) {
        err << "--units takes metric or imperial, not \"" << *text << "\".\n";
        return std::nullopt;
    }
    return units;
}

int failed(const library::Outcome& outcome, std::ostream& err) {
    err << outcome.message << "\n";
    return exit_code::kFailed;
}

int runList(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool json = args.takeFlag("--json");
    const bool descending = args.takeFlag("--desc");
    const auto filter = args.takeOption("--filter");
    const auto sort = args.takeOption("--sort");
    const auto units = takeUnits(args, err);
    if (!units || !args.checkDone(err)) {
        return exit_code::kUsage;
    }
    static const std::map<std::string, library::SortKey> keys = {
        {"id", library::SortKey::Id},
        {"date", library::SortKey::DownloadedAt},
        {"apogee", library::SortKey::ApogeeAgl},
        {"velocity", library::SortKey::PeakVelocity},
        {"duration", library::SortKey::Duration},
        {"rocket", library::SortKey::Rocket},
        {"motor", library::SortKey::Motor},
        {"site", library::SortKey::Site}};
    library::ListQuery query;
    query.filter = filter.value_or("");
    query.descending = descending;
    if (sort) {
        const auto it = keys.find(*sort);
        if (it == keys.end()) {
            err << "Unknown sort key: " << *sort << "\n" << kUsage;
            return exit_code::kUsage;
        }
        query.sort = it->second;
    }
    FlightLibrary flights(libraryFolder());
    if (!openOrComplain(flights, err)) {
        return exit_code::kFailed;
    }
    library::Outcome outcome;
    const auto records = flights.list(query, &outcome);
    if (!outcome.ok()) {
        return failed(outcome, err);
    }
    if (json) {
        out << flightsJson(records) << "\n";
    } else {
        printFlightTable(out, records, *units);
    }
    return exit_code::kOk;
}

int runShowFlight(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto units = takeUnits(args, err);
    const auto id = takeId(args, err);
    if (!units || !id || !args.checkDone(err)) {
        return exit_code::kUsage;
    }
    FlightLibrary flights(libraryFolder());
    if (!openOrComplain(flights, err)) {
        return exit_code::kFailed;
    }
    library::Outcome outcome;
    const auto record = flights.get(*id, &outcome);
    if (!record) {
        return failed(outcome, err);
    }
    printFlight(out, *record, toText(flights.folder() / toPath(record->archivePath)), *units);
    if (const auto check = library::preflightBeforeFlight(flights, *id)) {
        out << "Pre-flight check:\n";
        for (const std::string& line : library::preflightLines(*check)) {
            out << "  " << line << "\n";
        }
    }
    printAttachment(out, flights, *record, *units);
    return exit_code::kOk;
}

int runExportFlight(CliArgs& args, std::ostream& out, std::ostream& err) {
    const std::pair<const char*, library::ExportFormat> formats[] = {
        {"--tev", library::ExportFormat::Tev},
        {"--csv", library::ExportFormat::Csv},
        {"--xml", library::ExportFormat::Xml}};
    std::optional<std::string> target;
    library::ExportFormat format = library::ExportFormat::Tev;
    int given = 0;
    for (const auto& [flag, f] : formats) {
        if (auto value = args.takeOption(flag)) {
            target = std::move(value);
            format = f;
            ++given;
        }
    }
    const bool yes = args.takeFlag("--yes");
    const auto id = takeId(args, err);
    if (!id) {
        return exit_code::kUsage;
    }
    if (given != 1 || !args.checkDone(err)) {
        err << "Give exactly one of --tev, --csv or --xml with the output file.\n" << kUsage;
        return exit_code::kUsage;
    }
    FlightLibrary flights(libraryFolder());
    if (!openOrComplain(flights, err)) {
        return exit_code::kFailed;
    }
    // A folder: the file goes there under the flight's name, as the window names it.
    if (std::error_code ec; std::filesystem::is_directory(toPath(*target), ec)) {
        library::Outcome outcome;
        const auto record = flights.get(*id, &outcome);
        if (!record) {
            return failed(outcome, err);
        }
        target = toText(toPath(*target) / toPath(library::flightFileName(*record, format)));
    }
    const library::ExportPlan plan = library::planExportFile(*id, format, toPath(*target));
    // A file the flyer already has is replaced only when they say so.
    const bool replace =
        plan.existingNames().empty() || confirm(*target + " already exists. Replace it?", yes, err);
    if (!replace) {
        return exit_code::kFailed;
    }
    const library::ExportReport report = library::writeExport(flights, plan, true);
    const library::ExportItemResult& result = report.items.front();
    if (result.state != library::ExportItemState::Written) {
        err << (result.reason.empty() ? *target + " was kept as it was." : result.reason) << "\n";
        return exit_code::kFailed;
    }
    out << "Saved " << *target << "\n";
    return exit_code::kOk;
}

// Flight `id` and its archive file, for a report; nothing, with the reason on `err`. The
// library is closed again on return, before this process becomes the report program.
std::optional<std::pair<library::FlightRecord, std::filesystem::path>> flightToReport(
    std::int64_t id, std::ostream& err) {
    FlightLibrary flights(libraryFolder());
    if (!openOrComplain(flights, err)) {
        return std::nullopt;
    }
    library::Outcome outcome;
    auto record = flights.get(id, &outcome);
    if (!record) {
        err << outcome.message << "\n";
        return std::nullopt;
    }
    if (!library::archive_index::isArchivePath(record->archivePath)) {
        err << "The index names an archive file outside the library for flight #" << id << " ("
            << record->archivePath
            << "); rebuild the library to recreate it from the archive files.\n";
        return std::nullopt;
    }
    // Absolute, so that the report program never takes the file for an option.
    std::filesystem::path file =
        std::filesystem::absolute(flights.folder() / toPath(record->archivePath));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        err << "The archive file " << toText(file) << " of flight #" << id
            << " is missing or unreadable.\n";
        return std::nullopt;
    }
    return std::pair{std::move(*record), std::move(file)};
}

// The report of an archived flight is made by the report program from the flight's archive
// file, with the flyer's fields as the library holds them now. The file keeps the comment it
// was archived with while the library's may have been edited since, so the comment is handed
// on too, as an export would write it.
int runReport(CliArgs& args, std::ostream&, std::ostream& err) {
    // Each word handed on is one "--name=value": stored text that looks like an option (a
    // comment reading "--verbose") cannot be taken for one by the report program.
    std::vector<std::string> words;
    const auto handOn = [&](const char* name) {
        if (auto value = args.takeOption(name)) {
            words.push_back(std::string(name) + "=" + *value);
        }
    };
    for (const char* name : {"--pdf", "--png", "--svg"}) {
        handOn(name);
    }
    const bool output = !words.empty();
    // Their values are the report program's to judge, with the same messages as `report`.
    for (const char* name : {"--units", "--size", "--view"}) {
        handOn(name);
    }
    const auto id = takeId(args, err);
    if (!id) {
        return exit_code::kUsage;
    }
    if (!args.checkDone(err)) {
        err << kUsage;
        return exit_code::kUsage;
    }
    if (!output) {
        err << "Give --pdf, --png or --svg with the output file.\n" << kUsage;
        return exit_code::kUsage;
    }
    const auto flight = flightToReport(*id, err);
    if (!flight) {
        return exit_code::kFailed;
    }
    const auto& [record, file] = *flight;
    words.insert(words.begin(), toText(file));
    words.push_back("--rocket=" + record.rocket);
    words.push_back("--motor=" + record.motor);
    words.push_back("--site=" + record.site);
    words.push_back("--date=" + library::flightDay(record));
    words.push_back("--name=" + library::flightName(record));
    words.push_back("--comment=" + record.comment);
    return execReport(words, reportVerbose(), err);
}

int runImport(CliArgs& args, std::ostream& out, std::ostream& err) {
    std::vector<std::filesystem::path> paths;
    while (auto word = args.takePositional()) {
        paths.push_back(toPath(*word));
    }
    if (paths.empty() || !args.checkDone(err)) {
        err << kUsage;
        return exit_code::kUsage;
    }
    FlightLibrary flights(libraryFolder());
    if (!openOrComplain(flights, err)) {
        return exit_code::kFailed;
    }
    ProgressBar bar("Importing");
    const auto results = flights.importPaths(paths, [&bar](std::size_t done, std::size_t total) {
        bar.update(static_cast<long>(done), static_cast<long>(total));
        return true;
    });
    bar.finish();
    int status = exit_code::kOk;
    std::size_t imported = 0;
    for (const auto& item : results) {
        const auto& o = item.outcome;
        if (o.ok()) {
            ++imported;
            out << "Imported " << toText(item.file) << " as #" << o.id << "\n";
        } else if (o.status == LibraryStatus::Duplicate) {
            out << toText(item.file) << ": already in the library as #" << o.id << "\n";
        } else {
            err << o.message << "\n";
            status = exit_code::kFailed;
        }
    }
    out << imported << " of " << results.size() << (results.size() == 1 ? " file" : " files")
        << " imported.\n";
    return status;
}

int runEdit(CliArgs& args, std::ostream& out, std::ostream& err) {
    library::FlightFields fields;
    fields.rocket = args.takeOption("--rocket");
    fields.motor = args.takeOption("--motor");
    fields.site = args.takeOption("--site");
    fields.notes = args.takeOption("--notes");
    fields.comment = args.takeOption("--comment");
    fields.flightDate = args.takeOption("--date");
    const auto id = takeId(args, err);
    if (!id || !args.checkDone(err)) {
        return exit_code::kUsage;
    }
    FlightLibrary flights(libraryFolder());
    if (!openOrComplain(flights, err)) {
        return exit_code::kFailed;
    }
    const auto outcome = flights.edit(*id, fields);
    if (!outcome.ok()) {
        return failed(outcome, err);
    }
    out << "Flight #" << *id << " changed.\n";
    return exit_code::kOk;
}

int runDelete(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool yes = args.takeFlag("--yes");
    const auto id = takeId(args, err);
    if (!id || !args.checkDone(err)) {
        return exit_code::kUsage;
    }
    FlightLibrary flights(libraryFolder());
    if (!openOrComplain(flights, err)) {
        return exit_code::kFailed;
    }
    if (!confirm("Remove flight #" + std::to_string(*id) +
                     " from the library (its file is kept in deleted/)?",
                 yes, err)) {
        return exit_code::kFailed;
    }
    const auto outcome = flights.remove(*id);
    if (!outcome.ok()) {
        return failed(outcome, err);
    }
    out << "Flight #" << *id << " removed; its file is in " << toText(flights.folder() / "deleted")
        << ".\n";
    return exit_code::kOk;
}

int runRebuild(CliArgs& args, std::ostream& out, std::ostream& err) {
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    FlightLibrary flights(libraryFolder());
    ProgressBar bar("Rebuilding");
    const auto outcome = flights.rebuild([&bar](std::size_t done, std::size_t total) {
        bar.update(static_cast<long>(done), static_cast<long>(total));
        return true;
    });
    bar.finish();
    if (!outcome.ok()) {
        return failed(outcome, err);
    }
    out << outcome.message << "\n";
    return exit_code::kOk;
}

int runAttachSim(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto simName = args.takeOption("--sim-name");
    if (args.missingValue()) {
        err << "--sim-name needs the name of a simulation.\n";
        return exit_code::kUsage;
    }
    const auto id = takeId(args, err);
    const auto file = id ? args.takePositional() : std::nullopt;
    if (id && !file) {
        err << "Give the simulation file to keep with the flight.\n" << kUsage;
    }
    if (!id || !file || !args.checkDone(err)) {
        return exit_code::kUsage;
    }
    FlightLibrary flights(libraryFolder());
    if (!openOrComplain(flights, err)) {
        return exit_code::kFailed;
    }
    return runAttachSimulation(flights, *id, *file, simName, out, err);
}

}  // namespace

int runLibrary(CliArgs& args, std::ostream& out, std::ostream& err) {
    using Command = int (*)(CliArgs&, std::ostream&, std::ostream&);
    static const std::map<std::string, Command> commands = {
        {"list", runList},       {"show", runShowFlight}, {"export", runExportFlight},
        {"import", runImport},   {"edit", runEdit},       {"delete", runDelete},
        {"rebuild", runRebuild}, {"report", runReport},   {"attach-sim", runAttachSim}};
    const auto sub = args.takePositional();
    const auto it = sub ? commands.find(*sub) : commands.end();
    if (it == commands.end()) {
        err << (sub ? "Unknown library command: " + *sub + "\n" : "") << kUsage;
        return exit_code::kUsage;
    }
    return it->second(args, out, err);
}

}  // namespace tevusb::cli
