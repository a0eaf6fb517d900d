// SPDX-License-Identifier: MIT
#include "device/altimeter_device.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

using log::logLine;

// The three short commands share one shape: reset, command, an optional value reply,
// the closing reply. A missing reply counts as a send failure here, as the dialogs expect.
int AltimeterDevice::valueCommand(CommandCode command, std::uint16_t* value) {
    if (isBootloader()) {
        return result::kProtocolError;
    }
    m_cancel = false;
    logLine("Resetting device...");
    if (!reset()) {
        return result::kSendFailed;
    }
    logLine("Sending command...");
    if (!sendMessage(0, code(command))) {
        return result::kSendFailed;
    }
    std::uint16_t replyValue = 0;
    std::uint8_t reply = 0;
    if (value != nullptr) {
        logLine("Reading data...");
        if (!receiveMessage(kMessageTimeoutMs, replyValue, reply)) {
            return result::kSendFailed;
        }
        if (reply != code(ReplyCode::Value)) {
            return result::kProtocolError;
        }
        *value = replyValue;
    }
    logLine("Reading completion code...");
    if (!receiveMessage(kMessageTimeoutMs, replyValue, reply)) {
        return result::kSendFailed;
    }
    if (command == CommandCode::ReadBattery) {
        logLine("Done.");
    }
    return reply == code(ReplyCode::Complete) ? result::kSuccess : result::kProtocolError;
}

int AltimeterDevice::readAdc(std::uint16_t& value) {
    return valueCommand(CommandCode::ReadAdc, &value);
}

int AltimeterDevice::readBattery(std::uint16_t& value) {
    return valueCommand(CommandCode::ReadBattery, &value);
}

int AltimeterDevice::fireLines() {
    return valueCommand(CommandCode::FireLines, nullptr);
}

}  // namespace tevusb::device
