// SPDX-License-Identifier: MIT
#include <exception>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/command_line.h"
#include "cli/device_commands.h"
#include "cli/exit_code.h"
#include "cli/file_commands.h"
#include "cli/global_options.h"
#include "cli/library_commands.h"
#include "cli/library_option.h"
#include "cli/preflight_command.h"
#include "cli/profile_command.h"
#include "cli/report_exec.h"
#include "cli/sim_command.h"
#include "cli/stats_command.h"
#include "device/altimeter_device.h"
#include "device/hidapi_backend.h"
#include "device/sim/sim_backend.h"
#include "log/diagnostic_log.h"
#if defined(_WIN32)
#include "log/windows_process.h"
#endif
#include "tevusb_version.h"

namespace {

const char* kUsageBefore =
    "Usage: tevusb-cli [--verbose] [--library DIR] [--simulator | --simulator-bootloader] "
    "COMMAND ...\n"
    "   or: tevusb-cli --help | --version\n"
    "File commands:\n"
    "  show FILE.tev [--units U]              what a data-set file holds, with the\n"
    "                                         statistics of its first set\n"
    "  stats FILE.tev [FILE.tev ...] [--set K] [--units metric|imperial] [--json]\n"
    "                                         flight statistics (apogee, speeds, events,\n"
    "                                         descent rates); several files side by side;\n"
    "                                         --json gives SI values for programs\n"
    "  stats FILE.tev --sim FILE [--sim-name NAME] [--mass KG] [--diameter M]\n"
    "                                         the flight against its simulation (a design\n"
    "                                         file or CSV export) and the drag coefficient\n"
    "                                         its coast shows; --mass and --diameter give\n"
    "                                         the rocket's coast mass and reference\n"
    "                                         diameter where the simulation does not\n"
    "  sim FILE [--units U] [--json]          the simulations in a simulator's design file\n"
    "                                         (.ork) or CSV export: apogee, events, mass\n"
    "  export FILE.tev --csv OUT [--set K]    write a set as CSV\n"
    "  export FILE.tev --xml OUT [--set K]    write a set as XML\n"
    "  report FILE.tev [--set K] (--pdf OUT.pdf | --png OUT.png | --svg OUT.svg)\n"
    "         [--units metric|imperial] [--size WxH] [--view set|analysis]\n"
    "                                         a one-page flight report, or a picture of\n"
    "                                         the graph (needs no display); several\n"
    "                                         files with --pdf: the flights compared\n"
    "  report FILE.tev --pdf OUT [--rocket T] [--motor T] [--site T] [--date T] [--comment T]\n"
    "                                         the report with the flight's rocket, motor,\n"
    "                                         site and date, and a comment in place of\n"
    "                                         the file's (pictures leave them out)\n"
    "  report FILE.tev --pdf OUT --sim SIM [--sim-name N] [--mass KG] [--diameter M]\n"
    "                                         the report with a simulation drawn over the\n"
    "                                         flight and a page comparing them\n"
    "Altimeter commands:\n";
const char* kUsageAfter =
    "Rocket profiles and the pre-flight check:\n"
    "  profile list [--json]                  the rocket profiles in the library\n"
    "  profile show NAME [--json]             one profile\n"
    "  profile set NAME [--line-a MODE[:VALUE]] [--line-b MODE[:VALUE]] [--inhibit SECONDS]\n"
    "              [--min-battery VOLTS] [--expected-apogee METRES] [--notes TEXT]\n"
    "                                         create or change a profile (MODE as for\n"
    "                                         settings; the minimum battery defaults to 7.0 V)\n"
    "  profile from-device NAME               a profile from the altimeter's settings\n"
    "  profile delete NAME --yes              remove a profile\n"
    "  profile apply NAME [--yes] [--force]   write a profile to the altimeter, showing\n"
    "                                         what changes (clears the memory; refuses\n"
    "                                         while flights are not in the library)\n"
    "  preflight --profile NAME [--json]      check the altimeter against a profile:\n"
    "                                         exit 0 go, 3 no-go, 1 not checked\n"
    "Flight library commands:\n"
    "  library list [--json] [--filter TEXT] [--sort KEY] [--desc] [--units U]\n"
    "                                         the archived flights (filter: rocket, motor,\n"
    "                                         site, notes, comment or date, e.g. H128)\n"
    "  library show ID [--units U]            every field of one flight\n"
    "  library export ID --tev|--csv|--xml OUT  write an archived flight (OUT a folder:\n"
    "                                         the file is named after the flight)\n"
    "  library report ID --pdf|--png|--svg OUT [--units U] [--size WxH] [--view V]\n"
    "                                         the report (or graph picture) of a flight,\n"
    "                                         named as the library names it, with its\n"
    "                                         rocket, motor, site, flight date and comment\n"
    "  library import FILE.tev|DIR...         add data-set files to the library\n"
    "  library edit ID [--rocket T] [--motor T] [--site T] [--notes T] [--comment T]\n"
    "               [--date YYYY-MM-DD]         --date: the day it flew (empty: the download day)\n"
    "  library delete ID [--yes]              remove a flight (its file moves to deleted/)\n"
    "  library rebuild                        recreate the index from the archive files\n"
    "Options:\n"
    "  --library DIR                          the flight library folder (else $TEVUSB_LIBRARY,\n"
    "                                         else $XDG_DATA_HOME/tevusb or\n"
    "                                         ~/.local/share/tevusb)\n"
    "  --simulator                            talk to the built-in simulated altimeter\n"
    "                                         instead of a real one; its flights go to the\n"
    "                                         library's simulator/ folder, not to yours\n"
    "                                         (unless --library is given)\n"
    "  --simulator-bootloader                 start it in bootloader mode (for firmware)\n"
    "  --verbose                              send the diagnostic lines to standard error\n"
    "  --help                                 show this text\n"
    "  --version                              show the program's version\n";

// The help text: the altimeter commands' lines come from their own table.
std::string usageText() {
    std::string text = kUsageBefore;
    for (const tevusb::cli::DeviceCommand& command : tevusb::cli::deviceCommands()) {
        text += command.help;
    }
    return text + kUsageAfter;
}

using Command = int (*)(tevusb::cli::CliArgs&, std::ostream&, std::ostream&);

int run(const std::vector<std::string>& words);

}  // namespace

int main(int argc, char** argv) {
    using namespace tevusb;
#if defined(_WIN32)
    log::useSystemCodePage();
#endif
    cli::useUtf8Console();
    // Whatever a command could not foresee ends it with a message, never with an abort.
    try {
        return run(cli::commandLineWords(argc, argv));
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "tevusb-cli stopped: " << error.what() << "\n";
    }
    return cli::exit_code::kFailed;
}

namespace {

int run(const std::vector<std::string>& words) {
    using namespace tevusb;
    const cli::GlobalOptions global = cli::parseGlobalOptions(words);
    if (global.version) {
        std::cout << "tevusb-cli " << kVersion << "\n";
        return cli::exit_code::kOk;
    }
    // Help that was asked for is an answer, not an error: standard output and success,
    // wherever the option stands (manual pages are made from this text).
    if (global.help) {
        std::cout << usageText();
        return cli::exit_code::kOk;
    }
    if (!global.error.empty()) {
        std::cerr << global.error << "\n" << usageText();
        return cli::exit_code::kUsage;
    }
    const bool verbose = global.verbose;
    cli::setReportVerbose(verbose);
    cli::setLibraryOption(global.library);
    const bool bootloader = global.simulatorBootloader;
    const bool simulator = global.simulator || bootloader;
    cli::setSimulatorLibrary(simulator);
    log::DiagnosticLog::instance().setSink(verbose ? &std::cerr : nullptr);

    std::map<std::string, Command> commands = {
        {"show", cli::runShow},           {"export", cli::runExport}, {"library", cli::runLibrary},
        {"stats", cli::runStats},         {"sim", cli::runSim},       {"profile", cli::runProfile},
        {"preflight", cli::runPreflight},
    };
    for (const cli::DeviceCommand& device : cli::deviceCommands()) {
        commands.emplace(device.name, device.run);
    }
    const std::optional<std::string>& command = global.command;
    cli::CliArgs args(global.words);
    if (!command || *command == "help") {
        (command ? std::cout : std::cerr) << usageText();
        return command ? cli::exit_code::kOk : cli::exit_code::kUsage;
    }
    if (*command == "report") {
        return cli::execReport(args.takeAll(), verbose, std::cerr);
    }
    const auto it = commands.find(*command);
    if (it == commands.end()) {
        std::cerr << "Unknown command: " << *command << "\n" << usageText();
        return cli::exit_code::kUsage;
    }
    // The file and library commands never touch a device, so they start without hidapi.
    const bool usesDevice = *command != "library" && *command != "show" && *command != "export" &&
                            *command != "stats" && *command != "sim";
    if (!usesDevice) {
        return it->second(args, std::cout, std::cerr);
    }
    if (simulator) {
        device::sim::SimConfig config;
        config.bootloader = bootloader;
        device::setDeviceBackendFactory(
            [config] { return std::make_shared<device::sim::SimBackend>(config); });
    } else {
        // hidapi must be initialised before any thread starts.
        device::initHidapi();
        device::setDeviceBackendFactory([] { return std::make_shared<device::HidapiBackend>(); });
    }

    const int status = it->second(args, std::cout, std::cerr);
    device::theDevice().disconnect();
    return status;
}

}  // namespace
