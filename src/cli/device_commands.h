// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <vector>

#include "cli/cli_args.h"

namespace tevusb::cli {

// The commands that talk to the altimeter (or the simulator with --simulator). Each
// returns the process exit status (cli/exit_code.h): kOk, kFailed, or kUsage, with the
// program's own status texts on standard output and a one-line reason on standard error.
int runDevices(CliArgs& args, std::ostream& out, std::ostream& err);
int runInfo(CliArgs& args, std::ostream& out, std::ostream& err);
int runDownload(CliArgs& args, std::ostream& out, std::ostream& err);
int runClear(CliArgs& args, std::ostream& out, std::ostream& err);
int runSettings(CliArgs& args, std::ostream& out, std::ostream& err);
int runCalibrate(CliArgs& args, std::ostream& out, std::ostream& err);
int runPressure(CliArgs& args, std::ostream& out, std::ostream& err);
int runBattery(CliArgs& args, std::ostream& out, std::ostream& err);
int runFire(CliArgs& args, std::ostream& out, std::ostream& err);
int runEmulate(CliArgs& args, std::ostream& out, std::ostream& err);
int runFirmware(CliArgs& args, std::ostream& out, std::ostream& err);

// An altimeter command: its name on the command line, what runs it, and its lines in
// `--help`. A new device command adds its row here and nowhere else in the command line.
struct DeviceCommand {
    const char* name;
    int (*run)(CliArgs& args, std::ostream& out, std::ostream& err);
    const char* help;
};
// The altimeter commands in the order the help lists them.
const std::vector<DeviceCommand>& deviceCommands();

}  // namespace tevusb::cli
