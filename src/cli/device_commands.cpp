// SPDX-License-Identifier: MIT
#include "cli/device_commands.h"

#include <filesystem>

#include "analysis/emulation_recorder.h"
#include "analysis/emulation_report_json.h"
#include "analysis/emulation_report_text.h"
#include "analysis/setting_warnings.h"
#include "cli/cli_path.h"
#include "cli/download_saving.h"
#include "cli/exit_code.h"
#include "cli/firmware_file_text.h"
#include "cli/line_setting.h"
#include "cli/memory_guard.h"
#include "cli/settings_text.h"
#include "cli/terminal.h"
#include "data/setting_values.h"
#include "device/altimeter_device.h"
#include "device/device_messages.h"
#include "device/device_tasks.h"
#include "device/settings_snapshot.h"
#include "log/diagnostic_log.h"
#include "text/safety_texts.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace tevusb::cli {

namespace {

using device::AltimeterDevice;
using device::theDevice;

// Prints each status entry the moment the operation makes it; steps draw `bar`.
device::ProgressCallback printer(std::ostream& out, ProgressBar* bar = nullptr) {
    return [&out, bar](const device::Progress& p) {
        if (p.kind == device::Progress::Kind::Entry) {
            printEntries(out, p.entry);
        } else if (bar != nullptr) {
            bar->update(p.done, p.total);
        }
    };
}

// The connect check every device command starts with; true when the link is open.
bool connectApplication(AltimeterDevice& dev, std::ostream& out, std::ostream& err,
                        std::string* firmware = nullptr) {
    const auto connected = device::connectApplication(dev, printer(out));
    if (firmware != nullptr && connected.result == device::DeviceResult::Connected) {
        *firmware = device::versionString(connected.value.version);
    }
    if (!dev.link.isOpen()) {
        err << "No altimeter in application mode to talk to.\n";
        return false;
    }
    return true;
}

// The start every simple device command shares: no stray arguments, then the connect
// check. Returns the exit status when the command cannot go on.
std::optional<int> checkAndConnect(const CliArgs& args, AltimeterDevice& dev, std::ostream& out,
                                   std::ostream& err) {
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    if (!connectApplication(dev, out, err)) {
        return exit_code::kFailed;
    }
    return std::nullopt;
}

// Reads and parses the device's settings into the record; the command line says only
// why it stops, in one line.
bool readDeviceSettings(AltimeterDevice& dev, std::ostream& err) {
    const auto read = device::readSettings(dev, device::BadChecksum::Refuse);
    if (!read.value.imageRead) {
        err << "Failed to read settings.\n";
        return false;
    }
    if (!read.value.checksumValid) {
        err << "Checksum failed. The device settings are invalid.\n";
        return false;
    }
    return true;
}

}  // namespace

int runDevices(CliArgs& args, std::ostream& out, std::ostream& err) {
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    auto& dev = theDevice();
    const auto found = dev.link.findDevices(device::kApplicationIdentity.vendorId, 0, 0, 0);
    if (found.empty()) {
        out << "Device not found.\n";
        return exit_code::kOk;
    }
    for (const auto& info : found) {
        const char* mode =
            info.productId == device::kApplicationIdentity.productId  ? "application firmware"
            : info.productId == device::kBootloaderIdentity.productId ? "bootloader"
                                                                      : "unknown product";
        out << info.path << "  " << mode << " " << device::versionString(info.versionNumber)
            << "\n";
    }
    return exit_code::kOk;
}

int runInfo(CliArgs& args, std::ostream& out, std::ostream& err) {
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    auto& dev = theDevice();
    if (!connectApplication(dev, out, err) || !readDeviceSettings(dev, err)) {
        return exit_code::kFailed;
    }
    out << settingsText(dev.store.settings);
    return exit_code::kOk;
}

int runDownload(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto dir = args.takeOption("--out");
    const bool csv = args.takeFlag("--csv");
    if (csv && !dir) {
        err << "Usage: tevusb-cli download [--out DIR [--csv]]\n";
        return exit_code::kUsage;
    }
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    if (dir) {
        std::error_code ec;
        std::filesystem::create_directories(toPath(*dir), ec);
        if (!std::filesystem::is_directory(toPath(*dir), ec)) {
            err << "Cannot create the folder " << *dir << ".\n";
            return exit_code::kFailed;
        }
    }
    auto& dev = theDevice();
    std::string firmware;
    if (!connectApplication(dev, out, err, &firmware)) {
        return exit_code::kFailed;
    }
    installCancelOnInterrupt();
    device::Operation<> download;
    {
        ProgressBar bar("Downloading");
        download = device::downloadFlights(dev, printer(out, &bar));
    }
    if (!download.ok()) {
        err << (download.result == device::DeviceResult::Cancelled ? "Download cancelled.\n"
                                                                   : "Failed to read data.\n");
        return exit_code::kFailed;
    }
    const int sets = dev.store.setCount();
    if (sets == 0) {
        out << "The altimeter holds no flights.\n";
        return exit_code::kOk;
    }
    // Every download goes into the library at once, so no flight depends on the user
    // remembering to save it.
    std::string failure;
    const auto archived =
        archiveDownload(dev.store, firmware, out, failure, dev.link.device().path);
    if (!failure.empty()) {
        err << "The flight library could not be written: " << failure << "\n";
    }
    const bool allArchived = failure.empty();
    if (!dir && allArchived) {
        out << text::stringText(text::string_ids::kDataSetsSaved) << "\n";
        return exit_code::kOk;
    }
    // Without --out the files are the only copy of what the library refused, so they go
    // into the current folder.
    const std::filesystem::path folder = dir ? toPath(*dir) : ".";
    if (!dir) {
        err << "Saving the flights the library did not take in the current folder instead.\n";
    }
    for (int k = 0; k < sets; ++k) {
        if (!dir && archived[static_cast<std::size_t>(k)]) {
            continue;
        }
        if (!saveSetFiles(dev.store, k, folder, csv, out, err)) {
            return exit_code::kFailed;
        }
    }
    out << text::stringText(text::string_ids::kDataSetsSaved) << "\n";
    return dir ? exit_code::kOk : exit_code::kFailed;
}

int runClear(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool yes = args.takeFlag("--yes");
    const bool force = args.takeFlag("--force");
    auto& dev = theDevice();
    if (const auto stop = checkAndConnect(args, dev, out, err)) {
        return *stop;
    }
    if (!eraseAllowed(dev, openLibrary(), force, err)) {
        return exit_code::kFailed;
    }
    if (!confirm("Clear every flight from the altimeter's memory? Are you sure?", yes, err)) {
        return exit_code::kFailed;
    }
    return device::clearMemory(dev, printer(out)).ok() ? exit_code::kOk : exit_code::kFailed;
}

int runSettings(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto lineA = args.takeOption("--line-a");
    const auto lineB = args.takeOption("--line-b");
    const auto inhibit = args.takeOption("--inhibit");
    const auto rocket = args.takeOption("--rocket");
    const bool yes = args.takeFlag("--yes");
    const bool force = args.takeFlag("--force");
    if (!args.checkDone(err)) {
        return exit_code::kUsage;
    }
    std::optional<LineSetting> a, b;
    std::optional<std::uint16_t> inhibitTenths;
    std::string problem;
    // A value out of its field's range is named with the range; an unknown mode gets the
    // option's usage.
    const auto refuse = [&](const char* option) {
        err << (problem.empty() ? std::string(option) +
                                      " takes disabled, apogee, time:SECONDS or altitude:METRES."
                                : problem)
            << "\n";
        return exit_code::kUsage;
    };
    if (lineA && !(a = parseLineSetting(*lineA, Line::A, &problem))) {
        return refuse("--line-a");
    }
    if (lineB && !(b = parseLineSetting(*lineB, Line::B, &problem))) {
        return refuse("--line-b");
    }
    if (inhibit && !(inhibitTenths = parseTenths(*inhibit, &problem))) {
        err << problem << "\n";
        return exit_code::kUsage;
    }
    auto& dev = theDevice();
    if (!connectApplication(dev, out, err) || !readDeviceSettings(dev, err)) {
        return exit_code::kFailed;
    }
    if (!a && !b && !inhibitTenths) {
        out << settingsText(dev.store.settings);
        return exit_code::kOk;
    }
    auto& s = dev.store.settings;
    const auto apply = [](const LineSetting& line, std::uint8_t& mode, std::uint16_t& value) {
        mode = line.mode;
        if (line.value) {
            value = *line.value;
        }
    };
    if (a) {
        apply(*a, s.lineAMode, s.lineAValue);
    }
    if (b) {
        apply(*b, s.lineBMode, s.lineBValue);
    }
    if (inhibitTenths) {
        s.inhibitTime = *inhibitTenths;
    }
    if (s.inhibitTime > 200) {
        err << "Warning: " << text::stringText(text::string_ids::kInhibitLarge) << "\n";
    }
    if (s.lineAMode == 0 || s.lineBMode == 0) {
        err << "Warning: " << text::stringText(text::string_ids::kLineDisabled) << "\n";
    }
    const OpenedLibrary lib = openLibrary();
    std::optional<double> apogee;
    if (rocket && !(apogee = highestRocketApogee(lib, *rocket))) {
        err << "No flight of the rocket \"" << *rocket << "\" with a known apogee in "
            << libraryWithFolder(lib) << ": the lines are not checked against one.\n";
    }
    for (const std::string& warning : analysis::settingWarnings(s, apogee)) {
        err << "Warning: " << warning << "\n";
    }
    if (!eraseAllowed(dev, lib, force, err)) {
        return exit_code::kFailed;
    }
    if (!confirm("Writing the settings clears the altimeter's flight memory. Are you sure?", yes,
                 err)) {
        return exit_code::kFailed;
    }
    if (!device::writeSettings(dev, printer(out)).ok()) {
        return exit_code::kFailed;
    }
    out << settingsText(dev.store.settings);
    return exit_code::kOk;
}

int runCalibrate(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto ground = args.takeOption("--ground");
    const bool yes = args.takeFlag("--yes");
    const bool force = args.takeFlag("--force");
    if (!ground || !args.checkDone(err)) {
        err << "Usage: tevusb-cli calibrate --ground METRES [--yes] [--force]\n";
        return exit_code::kUsage;
    }
    const auto metres = data::checkWholeNumber(data::SettingValue::GroundAltitude, *ground);
    if (!metres.ok()) {
        err << metres.problem << "\n";
        return exit_code::kUsage;
    }
    auto& dev = theDevice();
    if (!connectApplication(dev, out, err) || !readDeviceSettings(dev, err)) {
        return exit_code::kFailed;
    }
    if (!eraseAllowed(dev, openLibrary(), force, err)) {
        return exit_code::kFailed;
    }
    if (!confirm("Calibrating clears the altimeter's flight memory. Are you sure?", yes, err)) {
        return exit_code::kFailed;
    }
    const auto calibrated =
        device::calibrate(dev, static_cast<double>(*metres.stored), {}, printer(out));
    return calibrated.value.completed ? exit_code::kOk : exit_code::kFailed;
}

int runPressure(CliArgs& args, std::ostream& out, std::ostream& err) {
    auto& dev = theDevice();
    if (const auto stop = checkAndConnect(args, dev, out, err)) {
        return *stop;
    }
    return device::readPressure(dev, printer(out)).ok() ? exit_code::kOk : exit_code::kFailed;
}

int runBattery(CliArgs& args, std::ostream& out, std::ostream& err) {
    auto& dev = theDevice();
    if (const auto stop = checkAndConnect(args, dev, out, err)) {
        return *stop;
    }
    return device::readBattery(dev, printer(out)).ok() ? exit_code::kOk : exit_code::kFailed;
}

int runFire(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool yes = args.takeFlag("--yes");
    auto& dev = theDevice();
    if (const auto stop = checkAndConnect(args, dev, out, err)) {
        return *stop;
    }
    if (!confirm("Fire the ejection lines? " + std::string(text::kFireHint) + " Are you sure?", yes,
                 err)) {
        return exit_code::kFailed;
    }
    return device::fireLines(dev, printer(out)).ok() ? exit_code::kOk : exit_code::kFailed;
}

int runEmulate(CliArgs& args, std::ostream& out, std::ostream& err) {
    const bool report = args.takeFlag("--report");
    const bool json = args.takeFlag("--json");
    const auto unitsText = args.takeOption("--units");
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    if (unitsText && !analysis::parseUnitSystem(*unitsText, units)) {
        err << "--units takes metric or imperial, not \"" << *unitsText << "\".\n";
        return exit_code::kUsage;
    }
    const auto k = args.takeSetIndex(err);
    if (!k) {
        return exit_code::kUsage;
    }
    const auto file = args.takePositional();
    if (!file || !args.checkDone(err) || args.missingValue() || ((json || unitsText) && !report)) {
        err << "Usage: tevusb-cli emulate FILE.tev [--set K] [--report [--json] [--units U]]\n";
        return exit_code::kUsage;
    }
    auto& dev = theDevice();
    data::LoadError error;
    if (!dev.store.loadSetFile(toPath(*file), error)) {
        err << text::stringText(text::string_ids::kLoadFailed) << "\n" << error.message << "\n";
        return exit_code::kFailed;
    }
    dev.store.selectSet(*k);
    if (dev.store.readingCount() == 0) {
        err << "The file holds no readings to replay.\n";
        return exit_code::kFailed;
    }
    // With --json the object is all that goes to standard output, so scripts can parse it.
    std::ostream& status = json ? err : out;
    if (!connectApplication(dev, status, err)) {
        return exit_code::kFailed;
    }
    std::optional<settings::DeviceSettings> deviceSettings;
    if (report) {
        deviceSettings = device::readSettingsSnapshot(dev);
        if (!deviceSettings) {
            err << "Could not read the altimeter's settings; the report judges the lines "
                   "against the settings recorded with the flight.\n";
        }
    }
    installCancelOnInterrupt();
    ProgressBar bar("Emulating");
    analysis::EmulationRecorder recorder;
    // The replay drives the flight logic, which fires the lines as in a real flight.
    status << text::kEmulateHint << "\n";
    const auto emulated = device::emulateLaunch(dev, [&](const device::Progress& p) {
        if (p.kind == device::Progress::Kind::Entry) {
            printEntries(status, p.entry);
            return;
        }
        bar.update(p.done, p.total);
        recorder.add(p.flag, p.done);
        // The bar already shows the flight's time.
        if (!p.entry.empty() && p.flag != device::code(device::ReplyCode::AdcRequest)) {
            printEntries(status, p.entry);
        }
    });
    bar.finish();
    const bool ok = emulated.ok();
    if (report) {
        const auto built = analysis::buildEmulationReport(
            dev.store.current, deviceSettings.value_or(dev.store.settings),
            recorder.finish(ok, emulated.value.cancelled), deviceSettings.has_value());
        if (json) {
            out << analysis::emulationReportJson(built) << "\n";
        } else {
            out << "\n" << analysis::formatEmulationReport(built, units);
        }
    }
    return ok ? exit_code::kOk : exit_code::kFailed;
}

int runFirmware(CliArgs& args, std::ostream& out, std::ostream& err) {
    const auto file = args.takePositional();
    if (!file || !args.checkDone(err)) {
        err << "Usage: tevusb-cli firmware FILE.dat\n";
        return exit_code::kUsage;
    }
    auto& dev = theDevice();
    device::connectBootloader(dev, printer(out));
    if (!dev.link.isOpen()) {
        printEntries(out, device::kAltimeterNotFound);
        return exit_code::kFailed;
    }
    ProgressBar bar("Updating firmware");
    const auto updated = device::updateFirmware(dev, toPath(*file), printer(out, &bar));
    bar.finish();
    if (!updated.ok()) {
        if (const std::string problem = firmwareFileProblem(toPath(*file)); !problem.empty()) {
            err << problem << "\n";
        }
    }
    return updated.ok() ? exit_code::kOk : exit_code::kFailed;
}

const std::vector<DeviceCommand>& deviceCommands() {
    static const std::vector<DeviceCommand> commands = {
        {"devices", runDevices,
         "  devices                                what is attached, its mode and version\n"},
        {"info", runInfo,
         "  info                                   connect, show firmware version and settings\n"},
        {"download", runDownload,
         "  download [--out DIR [--csv]]           archive every flight into the library; with "
         "--out\n"
         "                                         also save setN.tev (and setN.csv), never\n"
         "                                         replacing a file (setN-2.tev, ...)\n"},
        {"clear", runClear, "  clear [--yes] [--force]                erase the flight memory\n"},
        {"settings", runSettings,
         "  settings [--line-a MODE[:VALUE]] [--line-b MODE[:VALUE]] [--inhibit SECONDS]\n"
         "           [--rocket NAME] [--yes] [--force]\n"
         "                                         show, or change and write, the settings\n"
         "                                         (MODE: disabled, apogee, time:SECONDS,\n"
         "                                         altitude:METRES; writing clears the memory);\n"
         "                                         --rocket warns of an altitude line above the\n"
         "                                         highest apogee of NAME's library flights\n"},
        {"calibrate", runCalibrate,
         "  calibrate --ground METRES [--yes] [--force]\n"
         "                                         calibrate the pressure sensor at a known "
         "altitude\n"
         "                                         (clears the memory)\n"
         "                                         clear, settings and calibrate refuse while the\n"
         "                                         altimeter holds flights that are not in the\n"
         "                                         library; --force erases them all the same\n"},
        {"pressure", runPressure,
         "  pressure                               read the pressure sensor\n"},
        {"battery", runBattery,
         "  battery                                read the battery voltage\n"},
        {"fire", runFire,
         "  fire [--yes]                           fire both ejection lines for 2 seconds\n"},
        {"emulate", runEmulate,
         "  emulate FILE.tev [--set K]             replay a flight into the altimeter\n"
         "          [--report [--json] [--units metric|imperial]]\n"
         "                                         then set its events beside the flight and "
         "settings\n"},
        {"firmware", runFirmware,
         "  firmware FILE.dat                      update the firmware (device in bootloader "
         "mode)\n"},
    };
    return commands;
}

}  // namespace tevusb::cli
