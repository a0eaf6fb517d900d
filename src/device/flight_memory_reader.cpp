// SPDX-License-Identifier: MIT
#include "device/altimeter_device.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

using log::Hex;
using log::logLine;

namespace {

constexpr int kPacketCount = 128;
constexpr int kWordsPerPacket = 32;
// readPacket's answer when the packet was read whole and marks the end of the recording.
constexpr int kErasedPacket = 1;

void notify(AltimeterDevice::ProgressCallback progress, void* context, int packet, int inProgress,
            int beginsSet) {
    if (progress != nullptr) {
        progress(context, packet, inProgress, beginsSet);
    }
}

}  // namespace

int AltimeterDevice::readPacket(int index, ProgressCallback progress, void* context) {
    if (!sendMessage(0, code(CommandCode::ReadPacket)) ||
        !sendMessage(static_cast<std::uint16_t>(index), code(CommandCode::ReadPacket))) {
        return result::kSendFailed;
    }
    data::MemoryPacket packet;
    for (int j = 0; j < kWordsPerPacket; ++j) {
        std::uint16_t value = 0;
        std::uint8_t reply = 0;
        // Stray replies are logged and skipped; only a time-out or an early end stops us.
        do {
            if (cancelRequested()) {
                return result::kCancelled;
            }
            if (!receiveMessage(kMessageTimeoutMs, value, reply)) {
                logLine("Failed to read to packet.");
                return result::kTimeout;
            }
            if (reply != code(ReplyCode::DataWord)) {
                logLine("Invalid data.");
            }
            logLine("Code: [", Hex{reply}, "]");
        } while (reply != code(ReplyCode::DataWord) && reply != code(ReplyCode::Complete));
        if (reply == code(ReplyCode::Complete)) {
            logLine("Premature end of data.");
            return result::kProtocolError;
        }
        packet.setWord(j, value);
        if (cancelRequested()) {
            return result::kCancelled;
        }
        if (j == 0) {
            logLine("Begin Notify...");
            notify(progress, context, index, 1, packet.beginsSet() ? 1 : 0);
            logLine("Done.");
            continue;
        }
        logLine("updating fast set...");
        store.fast.add(value, store.settings.adcOffset);
        logLine("Done.");
        if (j % 5 == 0) {
            logLine("Notify...");
            notify(progress, context, index, 1, 0);
            logLine("Done.");
        }
    }
    if (cancelRequested()) {
        return result::kCancelled;
    }
    std::uint16_t value = 0;
    std::uint8_t reply = 0;
    if (!receiveMessage(kMessageTimeoutMs, value, reply)) {
        logLine("Could not read complete confirmation.");
        return result::kTimeout;
    }
    if (reply != code(ReplyCode::Complete)) {
        return result::kProtocolError;
    }
    // The packet is whole: a cancel that arrived during its closing reply keeps it, and
    // the next packet's first word will end the read.
    if (cancelRequested()) {
        logLine("Requesting CancelIO.");
    }
    if (packet.isErased()) {
        return kErasedPacket;
    }
    store.packets.push_back(packet);
    notify(progress, context, index, 0, 0);
    logLine("Done Reading Packet...");
    return result::kSuccess;
}

int AltimeterDevice::readFlightMemory(ProgressCallback progress, void* context) {
    store.comments.clear();
    if (isBootloader()) {
        return result::kProtocolError;
    }
    m_cancel = false;
    store.packets.clear();
    logLine("Resetting device.");
    if (!reset()) {
        return result::kSendFailed;
    }
    logLine("Reading Data...");
    for (int i = 0; i < kPacketCount; ++i) {
        const int outcome = readPacket(i, progress, context);
        if (outcome == kErasedPacket) {
            break;
        }
        if (outcome != result::kSuccess) {
            return outcome;
        }
    }
    logLine("Done Reading Data...");
    store.comments.assign(static_cast<std::size_t>(store.setCount()), std::string());
    return result::kSuccess;
}

int AltimeterDevice::clearMemory() {
    store.comments.clear();
    if (isBootloader()) {
        return result::kProtocolError;
    }
    if (!sendMessage(0, code(CommandCode::ClearMemory))) {
        return result::kTimeout;
    }
    std::uint16_t value = 0;
    std::uint8_t reply = 0;
    if (!receiveMessage(kMessageTimeoutMs, value, reply)) {
        return result::kTimeout;
    }
    return reply == code(ReplyCode::Complete) ? result::kSuccess : result::kProtocolError;
}

}  // namespace tevusb::device
