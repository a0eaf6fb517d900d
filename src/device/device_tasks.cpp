// SPDX-License-Identifier: MIT
#include "device/device_tasks.h"

#include "data/altitude_converter.h"
#include "data/setting_values.h"
#include "device/device_messages.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

namespace {

std::string number(double v) {
    return log::DiagnosticLog::numberText(v);
}

}  // namespace

std::string versionString(std::uint16_t version) {
    const std::wstring wide = versionText(version);
    return std::string(wide.begin(), wide.end());  // hexadecimal digits and a dot only
}

StatusEntries connectCheckApplication(AltimeterDevice& device) {
    std::uint16_t version = 0;
    const int code = device.connect(ConnectMode::Application, &version);
    if (code == result::kCancelled) {
        return {
            "Device found. Unable to connect to device.\r\n"
            "Please ensure it is not being used by another application.\r\n"
            "Removing the device and re-attaching it should correct this.\r\n"};
    }
    if (code == result::kTimeout) {
        device.connect(ConnectMode::Bootloader);
        if (device.link.isOpen() && device.isBootloader()) {
            device.disconnect();
            return {"Device found, but is in bootloader mode.\r\n",
                    "Please reconnect the device.\r\n"};
        }
        return {"Device not found.\r\n"};
    }
    if (code == result::kProtocolError) {
        return {"Device found, but has incompatible firmware version.\r\n",
                "Current device firmware version: " + versionString(version) + "\r\n",
                "Required device firmware version: " + versionString(kRequiredFirmwareVersion) +
                    "\r\n"};
    }
    return {"Device Connected.\r\n",
            "Current device firmware version: " + versionString(version) + "\r\n"};
}

StatusEntries connectCheckBootloader(AltimeterDevice& device) {
    std::uint16_t version = 0;
    const int code = device.connect(ConnectMode::Bootloader, &version);
    if (code == result::kCancelled) {
        return {
            "Device found in bootloader mode. Unable to connect to device.\r\n"
            "Please ensure it is not being used by another application.\r\n"
            "Removing the device and re-attaching it should correct this.\r\n"};
    }
    if (code == result::kTimeout) {
        const int app = device.connect(ConnectMode::Application);
        if (app == result::kProtocolError || (device.link.isOpen() && !device.isBootloader())) {
            device.disconnect();
            return {"Device found, but is not in bootloader mode.\r\n",
                    "Please reconnect the device in bootloader mode.\r\n"};
        }
        return {"Device not found.\r\n"};
    }
    if (code == result::kProtocolError) {
        return {"Device found in bootloader mode, but has incompatible bootloader version.\r\n",
                "Current device bootloader version: " + versionString(version) + "\r\n",
                "Required device bootloader version: " + versionString(kRequiredBootloaderVersion) +
                    "\r\n"};
    }
    return {"Device connected in bootloader mode.\r\n",
            "Device bootloader version: " + versionString(version) + "\r\n"};
}

StatusEntries firmwareResultEntries(int result, const FirmwareVersions& v) {
    namespace r = update_result;
    const char* removed = "This was most likely caused by prematurely removing the device.\r\n";
    const char* retry = "Please reconnect and try again.\r\n";
    StatusEntries out;
    switch (result) {
        case r::kSuccess:
            return {"New firmware version: " + versionString(v.firmware) + "\r\n",
                    "Firmware updated successfully.\r\n"};
        case r::kNotBootloader:
            out = {"The device is not in bootloader mode.\r\n"};
            break;
        case r::kCannotOpenFile:
            out = {"The file could not be opened.\r\n"};
            break;
        case r::kNotFirmwareFile:
            out = {"This is not a valid firmware file.\r\n"};
            break;
        case r::kWrongFileVersion:
            out = {"Incorrect file version.\r\n",
                   "File version: " + versionString(v.fileFormat) + "\r\n",
                   "Expected version: " + versionString(0x0100) + "\r\n"};
            break;
        case r::kWrongFirmware:
            out = {"The firmware version is not intended for use with this software version.\r\n",
                   "New firmware version: " + versionString(v.firmware) + "\r\n",
                   "Expected version: " + versionString(kRequiredFirmwareVersion) + "\r\n"};
            break;
        case r::kWrongBootloader:
            out = {"The firmware version is not intended for use with this bootloader version.\r\n",
                   "Your bootloader version: " + versionString(v.bootloader) + "\r\n",
                   "Expected version: " + versionString(kRequiredBootloaderVersion) + "\r\n"};
            break;
        case r::kWrongHardware:
            out = {"The firmware version is not intended for use with your hardware version.\r\n",
                   "Your hardware version: " + versionString(v.hardware) + "\r\n",
                   "Expected version: " + versionString(kRequiredHardwareVersion) + "\r\n"};
            break;
        case r::kTransferFailed:
            out = {"There was a timeout on a read operation.\r\n", removed, retry};
            break;
        case r::kProtocolError:
            out = {"There was a protocol error.\r\n", removed, retry};
            break;
        default:
            break;  // e.g. the link could not be opened: no line of its own
    }
    if (result < 0) {
        out.emplace_back("Failed to update firmware.\r\n");
    }
    return out;
}

PressureReading readPressure(AltimeterDevice& device) {
    PressureReading reading;
    const settings::DeviceSettings kept = device.store.settings;
    int adcOffset = 0;
    if (device.readSettings() == result::kSuccess) {
        reading.settingsRead = true;
        device.store.settings.parse();
        adcOffset = device.store.settings.adcOffset;
    }
    device.store.settings = kept;
    if (!reading.settingsRead) {
        return reading;
    }
    std::uint16_t count = 0;
    if (device.readAdc(count) != result::kSuccess) {
        return reading;
    }
    log::logLine("ADC: 0x", log::Hex{count});
    const data::AltitudeConverter converter(adcOffset);
    reading.adcRead = true;
    reading.count = count;
    reading.voltage = converter.voltage(count);
    reading.pressure = converter.pressure(count);
    reading.altitude = converter.altitude(count);
    return reading;
}

std::string batteryEntry(std::uint16_t tenths) {
    return "Current Voltage: " + number(tenths / 10.0) + " Volts\r\n";
}

StatusEntries pressureEntries(const PressureReading& r) {
    if (!r.settingsRead) {
        return {"Failed to read settings.\r\n"};
    }
    if (!r.adcRead) {
        return {"Failed.\r\n"};
    }
    return {"\r\nCurrent ADC: " + std::to_string(r.count) + "\r\n",
            "Current Voltage: " + number(r.voltage) + " Volts\r\n",
            "Current Pressure: " + number(r.pressure) + " kPa\r\n",
            "Current MSL Altitude: " + number(r.altitude) + " Meters\r\n"};
}

CalibrationResult calibrate(AltimeterDevice& device, double groundAltitude,
                            const std::function<int()>& writeRoutine,
                            const std::function<void(const std::string&)>& out) {
    CalibrationResult res;
    if (!device.link.isOpen()) {
        out(kAltimeterNotFound);
        return res;
    }
    if (device.clearMemory() != result::kSuccess) {
        out("Failed to clear data.\r\n");
        return res;
    }
    out("Calibrating...\r\n");
    const settings::DeviceSettings first = device.store.settings;
    const int read = device.readSettings();
    settings::DeviceSettings second = device.store.settings;  // new image, fields as before
    device.store.settings = first;
    if (read != result::kSuccess) {
        out("Failed to read settings.\r\n");
        return res;
    }
    std::uint16_t count = 0;
    if (device.readAdc(count) != result::kSuccess) {
        out("Failed.\r\n");
        return res;
    }
    res.adcReal = data::AltitudeConverter(0).countForAltitude(groundAltitude);
    res.adcDevice = count;
    out("ADC Real: " + std::to_string(res.adcReal) + "\r\n");
    out("ADC Device: " + std::to_string(res.adcDevice) + "\r\n");
    out("ADC Offset: " + std::to_string(res.adcReal - res.adcDevice) + "\r\n");
    // A reading far off the sensor's range would give an offset that wraps in the
    // settings' 16 bits and shifts every later altitude.
    if (!data::offsetFits(res.adcReal - res.adcDevice)) {
        out("The offset does not fit the settings; nothing was written.\r\n");
        out("Failed to calibrate.\r\n");
        return res;
    }
    second.adcOffset = res.adcReal - res.adcDevice;
    device.store.settings = second;
    if (writeRoutine() < 0) {
        out("Failed to calibrate.\r\n");
        return res;
    }
    out("Calibration complete.\r\n");
    res.completed = true;
    return res;
}

int writeSettingsRoutine(AltimeterDevice& device,
                         const std::function<void(const std::string&)>& out, WriteStep* step) {
    WriteStep ignored = WriteStep::Done;
    WriteStep& at = step != nullptr ? *step : ignored;
    device.store.settings.build();
    out("Attempting to connect to device.\r\n");
    if (!device.link.isOpen()) {
        at = WriteStep::NotConnected;
        out(kAltimeterNotFound);
        return -1;
    }
    if (device.clearMemory() != result::kSuccess) {
        at = WriteStep::ClearFailed;
        out("Failed to clear data.\r\n");
        return -1;
    }
    out("Altimeter found! Writing settings...\r\n");
    if (device.writeSettings() != result::kSuccess) {
        at = WriteStep::WriteFailed;
        out("Failed to write settings.\r\n");
        return -1;
    }
    out("Settings written successfully.\r\n");
    device.store.settings.parse();
    at = WriteStep::Done;
    return 0;
}

int downloadFlights(AltimeterDevice& device, AltimeterDevice::ProgressCallback progress,
                    void* context, const std::function<void(const std::string&)>& out) {
    data::DataSetStore& store = device.store;
    store.packets.clear();
    device.clearCancel();
    out("Attempting to connect to device.\r\n");
    if (!device.link.isOpen()) {
        out(kAltimeterNotFound);
        return -1;
    }
    out("Altimeter found! Reading settings...\r\n");
    const settings::DeviceSettings previous = store.settings;
    if (device.readSettings() != result::kSuccess) {
        store.settings = previous;
        out("Failed to read settings.\r\n");
        return -1;
    }
    out("Settings read successfully.\r\n");
    if (!store.settings.parse()) {
        store.settings = previous;
        out("Checksum failed. The device settings are invalid.\r\n");
    }
    out("Reading data...\r\n");
    // readFlightMemory starts by clearing the cancel flag, so a close that came during
    // the settings read must be honoured here or it would be lost for the whole download.
    const int r =
        device.cancelRequested() ? result::kCancelled : device.readFlightMemory(progress, context);
    log::logLine("Canceling IO");
    if (r < 0) {
        if (r == result::kCancelled) {
            store.packets.clear();
            store.comments.clear();
            store.current.clear();
            store.fast.clear();
        }
        out("Failed to read data.\r\n");
        return r;
    }
    log::logLine("Packets read: ", store.packets.size());
    out("Data read successfully.\r\n");
    out("Packets Read: " + std::to_string(store.packets.size()) + "\r\n");
    return r;
}

std::string emulationEventEntry(int replyCode, int samplesSent) {
    switch (replyCode) {
        case code(ReplyCode::AdcRequest):
            return "Launch Time (s): " + number(samplesSent / 10.0) + "\r\n";
        case code(ReplyCode::LaunchDetected):
            return "Launch detected.\r\n";
        case code(ReplyCode::LineAFired):
            return "Line A fired.\r\n";
        case code(ReplyCode::LineBFired):
            return "Line B fired.\r\n";
        case code(ReplyCode::ApogeeDetected):
            return "Apogee detected.\r\n";
        case code(ReplyCode::EndOfLaunch):
            return "Device indicates end of launch.\r\n";
        default:
            return {};
    }
}

}  // namespace tevusb::device
