// SPDX-License-Identifier: MIT
#include "device/altimeter_device.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

using log::logLine;

int AltimeterDevice::readClosingReply() {
    std::uint16_t value = 0;
    std::uint8_t reply = 0;
    if (!receiveMessage(kMessageTimeoutMs, value, reply)) {
        logLine("Could not read complete confirmation.");
        return result::kTimeout;
    }
    if (reply != code(ReplyCode::Complete)) {
        return result::kProtocolError;
    }
    logLine("Done.");
    return result::kSuccess;
}

int AltimeterDevice::readSettings() {
    if (isBootloader()) {
        return result::kProtocolError;
    }
    logLine("Resetting device.");
    if (!reset()) {
        return result::kSendFailed;
    }
    logLine("Reading Settings...");
    if (!sendMessage(0, code(CommandCode::ReadSettings))) {
        return result::kSendFailed;
    }
    // The bytes are gathered apart and kept only when the whole image and its closing
    // reply arrived: a read that breaks off must not leave a mix of old and new bytes,
    // which the next data-set file would carry.
    settings::SettingsImage incoming = store.settings.image;
    for (std::size_t i = 0; i < incoming.size(); ++i) {
        std::uint16_t value = 0;
        std::uint8_t reply = 0;
        if (!receiveMessage(kMessageTimeoutMs, value, reply)) {
            logLine("Failed to read packet.");
            return result::kTimeout;
        }
        if (reply == code(ReplyCode::Complete)) {
            logLine("Premature end of data.");
            return result::kProtocolError;
        }
        // Any other code carries a settings byte; the caller's checksum test decides.
        incoming[i] = static_cast<std::uint8_t>(value & 0xFF);
        logLine("Settings Packet Read: ", i);
    }
    const int closing = readClosingReply();
    if (closing == result::kSuccess) {
        store.settings.image = incoming;
    }
    return closing;
}

int AltimeterDevice::writeSettings() {
    if (isBootloader()) {
        return result::kProtocolError;
    }
    logLine("Resetting device.");
    if (!reset()) {
        return result::kSendFailed;
    }
    logLine("Writting Settings...");
    if (!sendMessage(0, code(CommandCode::WriteSettings))) {
        return result::kSendFailed;
    }
    const auto& image = store.settings.image;
    for (std::size_t i = 0; i < image.size(); ++i) {
        if (!sendMessage(image[i], code(CommandCode::Data))) {
            logLine("Failed to write packet.");
            return result::kTimeout;
        }
        logLine("Settings Packet Written: ", i);
    }
    return readClosingReply();
}

}  // namespace tevusb::device
