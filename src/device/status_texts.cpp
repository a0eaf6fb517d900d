// SPDX-License-Identifier: MIT
#include "device/status_texts.h"

#include "device/altimeter_device.h"
#include "device/device_messages.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

bool altimeterFound(const AltimeterDevice& device, DeviceResult& result, Reporter& say) {
    if (device.link.isOpen()) {
        return true;
    }
    result = DeviceResult::NoDevice;
    say.entry(kAltimeterNotFound);
    return false;
}

std::string versionString(std::uint16_t version) {
    const std::wstring wide = versionText(version);
    return std::string(wide.begin(), wide.end());  // hexadecimal digits and a dot only
}

std::string batteryEntry(std::uint16_t tenths) {
    return "Current Voltage: " + log::DiagnosticLog::numberText(tenths / 10.0) + " Volts\r\n";
}

StatusEntries firmwareResultEntries(DeviceResult result, const FirmwareVersions& v) {
    using R = DeviceResult;
    const char* removed = "This was most likely caused by prematurely removing the device.\r\n";
    const char* retry = "Please reconnect and try again.\r\n";
    StatusEntries out;
    switch (result) {
        case R::Success:
            return {"New firmware version: " + versionString(v.firmware) + "\r\n",
                    "Firmware updated successfully.\r\n"};
        case R::NotBootloader:
            out = {"The device is not in bootloader mode.\r\n"};
            break;
        case R::CannotOpenFile:
            out = {"The file could not be opened.\r\n"};
            break;
        case R::NotFirmwareFile:
            out = {"This is not a valid firmware file.\r\n"};
            break;
        case R::WrongFileVersion:
            out = {"Incorrect file version.\r\n",
                   "File version: " + versionString(v.fileFormat) + "\r\n",
                   "Expected version: " + versionString(0x0100) + "\r\n"};
            break;
        case R::WrongFirmware:
            out = {"The firmware version is not intended for use with this software version.\r\n",
                   "New firmware version: " + versionString(v.firmware) + "\r\n",
                   "Expected version: " + versionString(kRequiredFirmwareVersion) + "\r\n"};
            break;
        case R::WrongBootloader:
            out = {"The firmware version is not intended for use with this bootloader version.\r\n",
                   "Your bootloader version: " + versionString(v.bootloader) + "\r\n",
                   "Expected version: " + versionString(kRequiredBootloaderVersion) + "\r\n"};
            break;
        case R::WrongHardware:
            out = {"The firmware version is not intended for use with your hardware version.\r\n",
                   "Your hardware version: " + versionString(v.hardware) + "\r\n",
                   "Expected version: " + versionString(kRequiredHardwareVersion) + "\r\n"};
            break;
        case R::TransferFailed:
            out = {"There was a timeout on a read operation.\r\n", removed, retry};
            break;
        case R::ProtocolError:
            out = {"There was a protocol error.\r\n", removed, retry};
            break;
        default:
            break;  // e.g. the link could not be opened: no line of its own
    }
    if (!succeeded(result)) {
        out.emplace_back("Failed to update firmware.\r\n");
    }
    return out;
}

std::string emulationEventEntry(int replyCode, int samplesSent) {
    switch (replyCode) {
        case code(ReplyCode::AdcRequest):
            return "Launch Time (s): " + log::DiagnosticLog::numberText(samplesSent / 10.0) +
                   "\r\n";
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
