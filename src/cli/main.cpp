#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/device_commands.h"
#include "cli/file_commands.h"
#include "cli/report_exec.h"
#include "cli/stats_command.h"
#include "device/altimeter_device.h"
#include "device/hidapi_backend.h"
#include "device/sim/sim_backend.h"
#include "log/diagnostic_log.h"

namespace {

const char* kUsage =
    "Usage: tevusb-cli [--verbose] [--simulator | --simulator-bootloader] COMMAND ...\n"
    "File commands:\n"
    "  show FILE.tev [--units U]              what a data-set file holds, with the\n"
    "                                         statistics of its first set\n"
    "  stats FILE.tev [FILE.tev ...] [--set K] [--units metric|imperial] [--json]\n"
    "                                         flight statistics (apogee, speeds, events,\n"
    "                                         descent rates); several files side by side;\n"
    "                                         --json gives SI values for programs\n"
    "  export FILE.tev --csv OUT [--set K]    write a set as CSV\n"
    "  export FILE.tev --xml OUT [--set K]    write a set as XML\n"
    "  report FILE.tev [--set K] (--pdf OUT.pdf | --png OUT.png | --svg OUT.svg)\n"
    "         [--units metric|imperial] [--size WxH] [--view set|analysis]\n"
    "                                         a one-page flight report, or a picture of\n"
    "                                         the graph (needs no display); several\n"
    "                                         files with --pdf: the flights compared\n"
    "Altimeter commands:\n"
    "  devices                                what is attached, its mode and version\n"
    "  info                                   connect, show firmware version and settings\n"
    "  download --out DIR [--csv]             save every flight as setN.tev (and setN.csv)\n"
    "  clear [--yes]                          erase the flight memory\n"
    "  settings [--line-a MODE[:VALUE]] [--line-b MODE[:VALUE]] [--inhibit SECONDS] [--yes]\n"
    "                                         show, or change and write, the settings\n"
    "                                         (MODE: disabled, apogee, time:SECONDS,\n"
    "                                         altitude:METRES; writing clears the memory)\n"
    "  calibrate --ground METRES [--yes]      calibrate the pressure sensor at a known altitude\n"
    "  pressure                               read the pressure sensor\n"
    "  battery                                read the battery voltage\n"
    "  fire [--yes]                           fire both ejection lines for 2 seconds\n"
    "  emulate FILE.tev [--set K]             replay a flight into the altimeter\n"
    "          [--report [--json] [--units metric|imperial]]\n"
    "                                         then set its events beside the flight and settings\n"
    "  firmware FILE.dat                      update the firmware (device in bootloader mode)\n"
    "--simulator talks to the built-in simulated altimeter instead of a real one;\n"
    "--simulator-bootloader starts it in bootloader mode (for firmware).\n"
    "--verbose sends the diagnostic lines to standard error.\n";

using Command = int (*)(tevusb::cli::CliArgs&, std::ostream&, std::ostream&);

}  // namespace

int main(int argc, char** argv) {
    using namespace tevusb;
    std::vector<std::string> words(argv + 1, argv + argc);
    cli::CliArgs args(std::move(words));
    const bool verbose = args.takeFlag("--verbose");
    const bool bootloader = args.takeFlag("--simulator-bootloader");
    const bool simulator = args.takeFlag("--simulator") || bootloader;
    log::DiagnosticLog::instance().setSink(verbose ? &std::cerr : nullptr);

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

    const std::map<std::string, Command> commands = {
        {"show", cli::runShow},         {"export", cli::runExport},
        {"devices", cli::runDevices},   {"info", cli::runInfo},
        {"download", cli::runDownload}, {"clear", cli::runClear},
        {"settings", cli::runSettings}, {"calibrate", cli::runCalibrate},
        {"pressure", cli::runPressure}, {"battery", cli::runBattery},
        {"fire", cli::runFire},         {"emulate", cli::runEmulate},
        {"firmware", cli::runFirmware},
        {"stats", cli::runStats},
    };
    const auto command = args.takePositional();
    if (!command || *command == "help" || args.takeFlag("--help")) {
        (command ? std::cout : std::cerr) << kUsage;
        return command ? 0 : 2;
    }
    if (*command == "report") {
        return cli::execReport(args.takeAll(), verbose, std::cerr);
    }
    const auto it = commands.find(*command);
    if (it == commands.end()) {
        std::cerr << "Unknown command: " << *command << "\n" << kUsage;
        return 2;
    }
    const int status = it->second(args, std::cout, std::cerr);
    device::theDevice().disconnect();
    return status;
}
