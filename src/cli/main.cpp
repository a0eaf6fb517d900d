// SPDX-License-Identifier: MIT
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/device_commands.h"
#include "cli/exit_code.h"
#include "cli/file_commands.h"
#include "cli/global_options.h"
#include "cli/library_commands.h"
#include "cli/library_option.h"
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

const char* kUsage =
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
    "Altimeter commands:\n"
    "  devices                                what is attached, its mode and version\n"
    "  info                                   connect, show firmware version and settings\n"
    "  download [--out DIR [--csv]]           archive every flight into the library; with --out\n"
    "                                         also save setN.tev (and setN.csv), never\n"
    "                                         replacing a file (setN-2.tev, ...)\n"
    "  clear [--yes] [--force]                erase the flight memory\n"
    "  settings [--line-a MODE[:VALUE]] [--line-b MODE[:VALUE]] [--inhibit SECONDS]\n"
    "           [--rocket NAME] [--yes] [--force]\n"
    "                                         show, or change and write, the settings\n"
    "                                         (MODE: disabled, apogee, time:SECONDS,\n"
    "                                         altitude:METRES; writing clears the memory);\n"
    "                                         --rocket warns of an altitude line above the\n"
    "                                         highest apogee of NAME's library flights\n"
    "  calibrate --ground METRES [--yes] [--force]\n"
    "                                         calibrate the pressure sensor at a known altitude\n"
    "                                         (clears the memory)\n"
    "                                         clear, settings and calibrate refuse while the\n"
    "                                         altimeter holds flights that are not in the\n"
    "                                         library; --force erases them all the same\n"
    "  pressure                               read the pressure sensor\n"
    "  battery                                read the battery voltage\n"
    "  fire [--yes]                           fire both ejection lines for 2 seconds\n"
    "  emulate FILE.tev [--set K]             replay a flight into the altimeter\n"
    "          [--report [--json] [--units metric|imperial]]\n"
    "                                         then set its events beside the flight and settings\n"
    "  firmware FILE.dat                      update the firmware (device in bootloader mode)\n"
    "Flight library commands:\n"
    "  library list [--json] [--filter TEXT] [--sort KEY] [--desc] [--units U]\n"
    "                                         the archived flights (filter: rocket, motor,\n"
    "                                         site, notes, comment or date, e.g. H128)\n"
    "  library show ID [--units U]            every field of one flight\n"
    "  library export ID --tev|--csv|--xml OUT  write an archived flight\n"
    "  library report ID --pdf|--png|--svg OUT [--units U] [--size WxH] [--view V]\n"
    "                                         the report (or graph picture) of a flight,\n"
    "                                         with its rocket, motor, site, download\n"
    "                                         date and comment\n"
    "  library import FILE.tev|DIR...         add data-set files to the library\n"
    "  library edit ID [--rocket T] [--motor T] [--site T] [--notes T] [--comment T]\n"
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

using Command = int (*)(tevusb::cli::CliArgs&, std::ostream&, std::ostream&);

}  // namespace

int main(int argc, char** argv) {
    using namespace tevusb;
#if defined(_WIN32)
    log::useSystemCodePage();
#endif
    const cli::GlobalOptions global =
        cli::parseGlobalOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (global.version) {
        std::cout << "tevusb-cli " << kVersion << "\n";
        return cli::exit_code::kOk;
    }
    // Help that was asked for is an answer, not an error: standard output and success,
    // wherever the option stands (manual pages are made from this text).
    if (global.help) {
        std::cout << kUsage;
        return cli::exit_code::kOk;
    }
    if (!global.error.empty()) {
        std::cerr << global.error << "\n" << kUsage;
        return cli::exit_code::kUsage;
    }
    const bool verbose = global.verbose;
    cli::setReportVerbose(verbose);
    cli::setLibraryOption(global.library);
    const bool bootloader = global.simulatorBootloader;
    const bool simulator = global.simulator || bootloader;
    cli::setSimulatorLibrary(simulator);
    log::DiagnosticLog::instance().setSink(verbose ? &std::cerr : nullptr);

    const std::map<std::string, Command> commands = {
        {"show", cli::runShow},         {"export", cli::runExport},
        {"devices", cli::runDevices},   {"info", cli::runInfo},
        {"download", cli::runDownload}, {"clear", cli::runClear},
        {"settings", cli::runSettings}, {"calibrate", cli::runCalibrate},
        {"pressure", cli::runPressure}, {"battery", cli::runBattery},
        {"fire", cli::runFire},         {"emulate", cli::runEmulate},
        {"firmware", cli::runFirmware}, {"library", cli::runLibrary},
        {"stats", cli::runStats},       {"sim", cli::runSim},
    };
    const std::optional<std::string>& command = global.command;
    cli::CliArgs args(global.words);
    if (!command || *command == "help") {
        (command ? std::cout : std::cerr) << kUsage;
        return command ? cli::exit_code::kOk : cli::exit_code::kUsage;
    }
    if (*command == "report") {
        return cli::execReport(args.takeAll(), verbose, std::cerr);
    }
    const auto it = commands.find(*command);
    if (it == commands.end()) {
        std::cerr << "Unknown command: " << *command << "\n" << kUsage;
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
