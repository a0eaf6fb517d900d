// SPDX-License-Identifier: MIT
#include "cli/device_commands.h"

#include <filesystem>

#include "analysis/emulation_recorder.h"
#include "analysis/emulation_report_json.h"
#include "analysis/emulation_report_text.h"
#include "analysis/setting_warnings.h"
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

// The connect check every device command starts with; true when the link is open.
bool connectApplication(AltimeterDevice& dev, std::ostream& out, std::ostream& err) {
    for (const auto& entry : device::connectCheckApplication(dev)) {
        printEntries(out, entry);
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

std::function<void(const std::string&)> printer(std::ostream& out) {
    return [&out](const std::string& entry) { printEntries(out, entry); };
}

// Reads and parses the device's settings into the record.
bool readDeviceSettings(AltimeterDevice& dev, std::ostream& err) {
    if (dev.readSettings() != device::result::kSuccess) {
        err << "Failed to read settings.\n";
        return false;
    }
    if (!dev.store.settings.parse()) {
        err << "Checksum failed. The device settings are invalid.\n";
        return false;
    }
    return true;
}

struct DownloadProgress {
    ProgressBar bar{"Downloading"};
    static void callback(void* context, int packet, int inProgress, int) {
        auto* self = static_cast<DownloadProgress*>(context);
        self->bar.update(packet + (inProgress ? 0 : 1), 128);
    }
};

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
        std::filesystem::create_directories(*dir, ec);
        if (!std::filesystem::is_directory(*dir)) {
            err << "Cannot create the folder " << *dir << ".\n";
            return exit_code::kFailed;
        }
    }
    auto& dev = theDevice();
    const auto entries = device::connectCheckApplication(dev);
    for (const auto& entry : entries) {
        printEntries(out, entry);
    }
    if (!dev.link.isOpen()) {
        err << "No altimeter in application mode to talk to.\n";
        return exit_code::kFailed;
    }
    installCancelOnInterrupt();
    int r = 0;
    {
        DownloadProgress progress;
        r = device::downloadFlights(dev, &DownloadProgress::callback, &progress, printer(out));
    }
    if (r < 0) {
        err << (r == device::result::kCancelled ? "Download cancelled.\n"
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
    const auto archived = archiveDownload(dev.store, firmwareFromEntries(entries), out, failure);
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
    const std::filesystem::path folder = dir ? std::filesystem::path(*dir) : ".";
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
    if (dev.clearMemory() != device::result::kSuccess) {
        printEntries(out, "Failed to clear data.\r\n");
        return exit_code::kFailed;
    }
    dev.store.packets.clear();
    printEntries(out, "Data cleared successfully.\r\n");
    return exit_code::kOk;
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
    if (device::writeSettingsRoutine(dev, printer(out)) < 0) {
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
    const auto result = device::calibrate(
        dev, static_cast<double>(*metres.stored),
        [&] { return device::writeSettingsRoutine(dev, printer(out)); }, printer(out));
    return result.completed ? exit_code::kOk : exit_code::kFailed;
}

int runPressure(CliArgs& args, std::ostream& out, std::ostream& err) {
    auto& dev = theDevice();
    if (const auto stop = checkAndConnect(args, dev, out, err)) {
        return *stop;
    }
    const auto reading = device::readPressure(dev);
    for (const auto& entry : device::pressureEntries(reading)) {
        printEntries(out, entry);
    }
    return reading.adcRead ? exit_code::kOk : exit_code::kFailed;
}

int runBattery(CliArgs& args, std::ostream& out, std::ostream& err) {
    auto& dev = theDevice();
    if (const auto stop = checkAndConnect(args, dev, out, err)) {
        return *stop;
    }
    std::uint16_t tenths = 0;
    if (dev.readBattery(tenths) != device::result::kSuccess) {
        printEntries(out, "Failed.\r\n");
        return exit_code::kFailed;
    }
    printEntries(out, device::batteryEntry(tenths));
    return exit_code::kOk;
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
    printEntries(out, "Firing both lines for 2 seconds...\r\n");
    const bool ok = dev.fireLines() == device::result::kSuccess;
    printEntries(out, ok ? "Done.\r\n" : "Failed.\r\n");
    return ok ? exit_code::kOk : exit_code::kFailed;
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
    if (!dev.store.loadSetFile(*file, error)) {
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
    struct Context {
        std::ostream& out;
        ProgressBar bar{"Emulating"};
        int total;
        analysis::EmulationRecorder recorder;
    } context{status, ProgressBar("Emulating"), dev.store.readingCount(), {}};
    // The replay drives the flight logic, which fires the lines as in a real flight.
    status << text::kEmulateHint << "\n";
    printEntries(status, "Emulating...\r\n");
    const bool ok = dev.emulateLaunch(
        [](void* c, int code, int samples) {
            auto* ctx = static_cast<Context*>(c);
            ctx->bar.update(samples, ctx->total);
            ctx->recorder.add(code, samples);
            const std::string entry = device::emulationEventEntry(code, samples);
            if (!entry.empty() && code != device::code(device::ReplyCode::AdcRequest)) {
                printEntries(ctx->out, entry);
            }
        },
        &context);
    context.bar.finish();
    printEntries(status, ok ? "Done.\r\n" : "Failed.\r\n");
    if (report) {
        const auto built = analysis::buildEmulationReport(
            dev.store.current, deviceSettings.value_or(dev.store.settings),
            context.recorder.finish(ok, dev.cancelRequested()), deviceSettings.has_value());
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
    for (const auto& entry : device::connectCheckBootloader(dev)) {
        printEntries(out, entry);
    }
    if (!dev.link.isOpen()) {
        printEntries(out, device::kAltimeterNotFound);
        return exit_code::kFailed;
    }
    ProgressBar bar("Updating firmware");
    device::FirmwareVersions versions;
    const int r = dev.updateFirmware(
        [](void* c, int block, int highest) {
            static_cast<ProgressBar*>(c)->update(block + 1, highest + 1);
        },
        &bar, *file, versions);
    bar.finish();
    for (const auto& entry : device::firmwareResultEntries(r, versions)) {
        printEntries(out, entry);
    }
    if (r != device::update_result::kSuccess) {
        if (const std::string problem = firmwareFileProblem(*file); !problem.empty()) {
            err << problem << "\n";
        }
    }
    return r == device::update_result::kSuccess ? exit_code::kOk : exit_code::kFailed;
}

}  // namespace tevusb::cli
