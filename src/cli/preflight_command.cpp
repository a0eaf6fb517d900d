// SPDX-License-Identifier: MIT
#include "cli/preflight_command.h"

#include <iomanip>

#include "cli/exit_code.h"
#include "cli/memory_guard.h"
#include "cli/profile_json.h"
#include "cli/terminal.h"
#include "device/preflight.h"
#include "library/kept_flights.h"
#include "library/preflight_record.h"
#include "library/rocket_profiles.h"

namespace tevusb::cli {

int runPreflight(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto name = args.takeOption("--profile");
    const bool json = args.takeFlag("--json");
    if (!name || args.missingValue() || !args.checkDone(err)) {
        err << "Usage: tevusb-cli preflight --profile NAME [--json]\n";
        return exit_code::kUsage;
    }
    const OpenedLibrary lib = openLibrary();
    if (!lib.library) {
        err << "Could not open " << libraryWithFolder(lib) << " to read the rocket profile \""
            << *name << "\": " << lib.opened.message << "\n";
        return exit_code::kFailed;
    }
    library::Outcome found;
    const auto profile = library::findProfile(*lib.library, *name, &found);
    if (!profile) {
        err << found.message << "\n";
        return exit_code::kFailed;
    }
    device::PreflightRequest request;
    request.profile = *profile;
    request.keptFlights = [&lib](const std::vector<data::MemoryPacket>& packets) {
        const library::UnkeptFlights unkept =
            library::findUnkeptFlights(lib.library.get(), packets, lib.opened);
        return device::KeptAnswer{static_cast<int>(unkept.setNumbers.size()),
                                  unkept.library.ok() ? "" : unkept.library.message};
    };
    auto& dev = device::theDevice();
    const device::Operation<device::PreflightCheck> checked = device::runPreflight(dev, request);
    const device::PreflightCheck& result = checked.value;
    if (!checked.ok()) {
        for (const auto& entry : checked.entries) {
            printEntries(err, entry);
        }
        err << "The pre-flight check could not be made.\n";
        return exit_code::kFailed;
    }
    if (const auto kept =
            library::recordPreflight(*lib.library, result.report, result.altimeter, result.packets);
        !kept.ok()) {
        err << "The check was not recorded in the library: " << kept.message << "\n";
    }
    if (json) {
        out << preflightJson(result.report) << "\n";
    } else {
        out << device::verdictLine(result.report) << "\n";
        for (const data::PreflightItem& item : result.report.items) {
            out << "  " << std::left << std::setw(9) << item.name << std::setw(8)
                << data::checkStatusName(item.status) << item.text << "\n";
        }
    }
    return result.report.go() ? exit_code::kOk : exit_code::kNoGo;
}

}  // namespace tevusb::cli
