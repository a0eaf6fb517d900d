// SPDX-License-Identifier: MIT
#include "cli/profile_command.h"

#include <charconv>
#include <cmath>
#include <map>

#include "analysis/line_setting_text.h"
#include "analysis/profile_differences.h"
#include "cli/exit_code.h"
#include "cli/line_setting.h"
#include "cli/memory_guard.h"
#include "cli/profile_json.h"
#include "cli/terminal.h"
#include "device/profile_apply.h"
#include "library/rocket_profiles.h"

namespace tevusb::cli {

namespace {

const char* kUsage =
    "Usage: tevusb-cli profile list [--json]\n"
    "       tevusb-cli profile show NAME [--json]\n"
    "       tevusb-cli profile set NAME [--line-a MODE[:VALUE]] [--line-b MODE[:VALUE]]\n"
    "                  [--inhibit SECONDS] [--min-battery VOLTS] [--expected-apogee METRES]\n"
    "                  [--notes TEXT]\n"
    "       tevusb-cli profile from-device NAME\n"
    "       tevusb-cli profile delete NAME --yes\n"
    "       tevusb-cli profile apply NAME [--yes] [--force]\n";

// The library, open, or the exit status after saying why not.
std::optional<int> needLibrary(const OpenedLibrary& lib, std::ostream& err) {
    if (!lib.library) {
        err << "Could not open " << libraryWithFolder(lib) << ": " << lib.opened.message << "\n";
        return exit_code::kFailed;
    }
    return std::nullopt;
}

std::string summary(const settings::RocketProfile& p) {
    std::string text =
        p.name + ": Line A " + analysis::lineSettingText(p.lineA.mode, p.lineA.value.value_or(0)) +
        ", Line B " + analysis::lineSettingText(p.lineB.mode, p.lineB.value.value_or(0)) +
        ", inhibit " + analysis::tenthsText(p.inhibitTime) + ", battery at least " +
        analysis::formatNumber(p.minBatteryV, 1) + " V";
    if (p.expectedApogeeM) {
        text += ", expected apogee " + std::to_string(std::lround(*p.expectedApogeeM)) + " m";
    }
    return text;
}

std::optional<double> parseNumber(const std::string& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<settings::RocketProfile> loadNamed(CliArgs& args, const OpenedLibrary& lib,
                                                 std::ostream& err, int& status) {
    const auto name = args.takePositional();
    if (!name || !args.checkDone(err)) {
        err << kUsage;
        status = exit_code::kUsage;
        return std::nullopt;
    }
    if (auto failed = needLibrary(lib, err)) {
        status = *failed;
        return std::nullopt;
    }
    library::Outcome outcome;
    auto profile = library::findProfile(*lib.library, *name, &outcome);
    if (!profile) {
        err << outcome.message << "\n";
        status = exit_code::kFailed;
    }
    return profile;
}

int runList(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool json = args.takeFlag("--json");
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    const OpenedLibrary lib = openLibrary();
    if (auto failed = needLibrary(lib, err)) {
        return *failed;
    }
    library::Outcome outcome;
    const auto profiles = library::listProfiles(*lib.library, &outcome);
    if (!outcome.ok()) {
        err << outcome.message << "\n";
        return exit_code::kFailed;
    }
    if (json) {
        out << profilesJson(profiles) << "\n";
    } else if (profiles.empty()) {
        out << "No rocket profiles yet; `tevusb-cli profile set NAME ...` makes one.\n";
    }
    for (const auto& p : json ? std::vector<settings::RocketProfile>{} : profiles) {
        out << summary(p) << "\n";
    }
    return exit_code::kOk;
}

int runShowProfile(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool json = args.takeFlag("--json");
    int status = exit_code::kOk;
    const OpenedLibrary lib = openLibrary();
    const auto profile = loadNamed(args, lib, err, status);
    if (!profile) {
        return status;
    }
    if (json) {
        out << profileJson(*profile) << "\n";
        return exit_code::kOk;
    }
    out << summary(*profile) << "\n";
    if (!profile->notes.empty()) {
        out << "Notes: " << profile->notes << "\n";
    }
    return exit_code::kOk;
}

// "time" or "altitude" alone keeps the value the profile has in that mode.
std::optional<settings::ProfileLine> lineOption(const std::string& text, Line line,
                                                const settings::ProfileLine& current,
                                                std::string& problem) {
    if (text == "time" || text == "altitude") {
        const auto mode = static_cast<std::uint8_t>(text == "time" ? settings::LineMode::Time
                                                                   : settings::LineMode::Altitude);
        // Seconds never turn into metres: only the same mode keeps its value.
        if (!current.value || current.mode != mode) {
            problem = std::string(line == Line::A ? "--line-a" : "--line-b") + " " + text +
                      " needs a value: " + text + (text == "time" ? ":SECONDS." : ":METRES.");
            return std::nullopt;
        }
        return settings::ProfileLine{mode, current.value};
    }
    const auto parsed = parseLineSetting(text, line, &problem);
    if (!parsed) {
        if (problem.empty()) {
            problem = std::string(line == Line::A ? "--line-a" : "--line-b") +
                      " takes disabled, apogee, time:SECONDS or altitude:METRES.";
        }
        return std::nullopt;
    }
    return settings::profileLine(parsed->mode, parsed->value.value_or(0));
}

int runSet(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto lineA = args.takeOption("--line-a");
    const auto lineB = args.takeOption("--line-b");
    const auto inhibit = args.takeOption("--inhibit");
    const auto battery = args.takeOption("--min-battery");
    const auto apogee = args.takeOption("--expected-apogee");
    const auto notes = args.takeOption("--notes");
    const auto name = args.takePositional();
    if (!name || args.missingValue() || !args.checkDone(err)) {
        err << kUsage;
        return exit_code::kUsage;
    }
    const OpenedLibrary lib = openLibrary();
    if (auto failed = needLibrary(lib, err)) {
        return *failed;
    }
    library::Outcome found;
    settings::RocketProfile p =
        library::findProfile(*lib.library, *name, &found).value_or(settings::RocketProfile{});
    if (!found.ok() && found.status != library::LibraryStatus::NotFound) {
        err << found.message << "\n";
        return exit_code::kFailed;
    }
    const bool created = !found.ok();
    if (created) {
        p.name = *name;
    }
    std::string problem;
    if (lineA) {
        const auto line = lineOption(*lineA, Line::A, p.lineA, problem);
        if (!line) {
            err << problem << "\n";
            return exit_code::kUsage;
        }
        p.lineA = *line;
    }
    if (lineB) {
        const auto line = lineOption(*lineB, Line::B, p.lineB, problem);
        if (!line) {
            err << problem << "\n";
            return exit_code::kUsage;
        }
        p.lineB = *line;
    }
    if (inhibit) {
        const auto tenths = parseTenths(*inhibit, &problem);
        if (!tenths) {
            err << problem << "\n";
            return exit_code::kUsage;
        }
        p.inhibitTime = *tenths;
    }
    if (battery) {
        const auto volts = parseNumber(*battery);
        if (!volts) {
            err << "Lowest battery voltage: \"" << *battery << "\" is not a number.\n";
            return exit_code::kUsage;
        }
        p.minBatteryV = *volts;
    }
    if (apogee) {
        if (apogee->empty() || *apogee == "none") {
            p.expectedApogeeM.reset();
        } else if (const auto metres = parseNumber(*apogee)) {
            p.expectedApogeeM = *metres;
        } else {
            err << "Expected apogee: \"" << *apogee << "\" is not a number.\n";
            return exit_code::kUsage;
        }
    }
    if (notes) {
        p.notes = *notes;
    }
    if (const std::string why = settings::profileProblem(p); !why.empty()) {
        err << why << "\n";
        return exit_code::kUsage;
    }
    if (const auto saved = library::saveProfile(*lib.library, p); !saved.ok()) {
        err << saved.message << "\n";
        return exit_code::kFailed;
    }
    out << (created ? "Created " : "Updated ") << summary(p) << "\n";
    return exit_code::kOk;
}

int runFromDevice(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto name = args.takePositional();
    if (!name || !args.checkDone(err)) {
        err << kUsage;
        return exit_code::kUsage;
    }
    const OpenedLibrary lib = openLibrary();
    if (auto failed = needLibrary(lib, err)) {
        return *failed;
    }
    auto& dev = device::theDevice();
    for (const auto& entry : device::connectApplication(dev).entries) {
        printEntries(out, entry);
    }
    if (!dev.link.isOpen()) {
        err << "No altimeter in application mode to talk to.\n";
        return exit_code::kFailed;
    }
    settings::DeviceSettings read;
    bool valid = false;
    if (!device::readSettingsAside(dev, read, valid)) {
        err << "Failed to read settings.\n";
        return exit_code::kFailed;
    }
    if (!valid) {
        err << "Checksum failed. The device settings are invalid.\n";
        return exit_code::kFailed;
    }
    library::Outcome found;
    settings::RocketProfile p =
        library::findProfile(*lib.library, *name, &found).value_or(settings::RocketProfile{});
    const settings::RocketProfile fromDevice = settings::profileFromSettings(*name, read);
    // An existing profile keeps its battery limit, apogee and notes.
    p.name = found.ok() ? p.name : *name;
    p.lineA = fromDevice.lineA;
    p.lineB = fromDevice.lineB;
    p.inhibitTime = fromDevice.inhibitTime;
    if (const auto saved = library::saveProfile(*lib.library, p); !saved.ok()) {
        err << saved.message << "\n";
        return exit_code::kFailed;
    }
    out << (found.ok() ? "Updated " : "Created ") << summary(p) << "\n";
    return exit_code::kOk;
}

int runDeleteProfile(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool yes = args.takeFlag("--yes");
    int status = exit_code::kOk;
    const OpenedLibrary lib = openLibrary();
    const auto profile = loadNamed(args, lib, err, status);
    if (!profile) {
        return status;
    }
    if (!confirm("Delete the rocket profile \"" + profile->name + "\"?", yes, err)) {
        err << "Nothing was deleted.\n";
        return exit_code::kFailed;
    }
    if (const auto removed = library::deleteProfile(*lib.library, profile->name); !removed.ok()) {
        err << removed.message << "\n";
        return exit_code::kFailed;
    }
    out << "Deleted the rocket profile \"" << profile->name << "\".\n";
    return exit_code::kOk;
}

int runApply(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool yes = args.takeFlag("--yes");
    const bool force = args.takeFlag("--force");
    int status = exit_code::kOk;
    const OpenedLibrary lib = openLibrary();
    const auto profile = loadNamed(args, lib, err, status);
    if (!profile) {
        return status;
    }
    auto& dev = device::theDevice();
    device::ApplyHooks hooks;
    hooks.confirm = [&](const std::vector<analysis::SettingDifference>& differences) {
        out << "Applying the rocket profile \"" << profile->name << "\":\n";
        for (const auto& d : differences) {
            out << "  " << analysis::differenceText(d) << "\n";
        }
        return confirm("Writing the profile clears the altimeter's flight memory. Write it?", yes,
                       err);
    };
    hooks.eraseAllowed = [&] { return eraseAllowed(dev, lib, force, err); };
    const device::Operation<device::ProfileApplied> result =
        device::applyProfile(dev, *profile, hooks);
    for (const auto& entry : result.entries) {
        printEntries(out, entry);
    }
    if (result.result == device::DeviceResult::NoDevice) {
        err << "No altimeter in application mode to talk to.\n";
    }
    return result.ok() ? exit_code::kOk : exit_code::kFailed;
}

}  // namespace

int runProfile(CliArgs& args, std::ostream& out, std::ostream& err) {
    using Command = int (*)(CliArgs&, std::ostream&, std::ostream&);
    static const std::map<std::string, Command> commands = {
        {"list", runList},   {"show", runShowProfile},       {"set", runSet},
        {"apply", runApply}, {"from-device", runFromDevice}, {"delete", runDeleteProfile}};
    const auto sub = args.takePositional();
    const auto it = sub ? commands.find(*sub) : commands.end();
    if (it == commands.end()) {
        err << (sub ? "Unknown profile command: " + *sub + "\n" : "") << kUsage;
        return exit_code::kUsage;
    }
    return it->second(args, out, err);
}

}  // namespace tevusb::cli
