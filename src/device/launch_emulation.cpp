// SPDX-License-Identifier: MIT
#include "device/launch_emulation.h"

#include <chrono>
#include <thread>

#include "device/altimeter_device.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

using log::logLine;

namespace {

void logEvent(std::uint8_t reply, std::uint16_t value) {
    switch (static_cast<ReplyCode>(reply)) {
        case ReplyCode::LaunchDetected:
            logLine("Launch detected.");
            break;
        case ReplyCode::LineAFired:
            logLine("Line A fired.");
            break;
        case ReplyCode::LineBFired:
            logLine("Line B fired.");
            break;
        case ReplyCode::ApogeeDetected:
            logLine("Apogee!");
            logLine("Slope: ", static_cast<std::int16_t>(value));
            break;
        default:
            break;
    }
}

bool isFlightEvent(std::uint8_t reply) {
    return reply >= code(ReplyCode::LaunchDetected) && reply <= code(ReplyCode::ApogeeDetected);
}

}  // namespace

bool AltimeterDevice::emulateLaunch(EmulationCallback callback, void* context) {
    if (isBootloader()) {
        return false;
    }
    m_cancel = false;
    logLine("Emulating Launch...");
    if (!sendMessage(0, code(CommandCode::EmulateLaunch))) {
        logLine("Write Error.");
        return false;
    }
    int samplesSent = 0;
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kEmulationPauseMs));
        std::uint16_t value = 0;
        std::uint8_t reply = 0;
        if (!receiveMessage(kEmulationReplyTimeoutMs, value, reply)) {
            logLine("Read Error.");
            return false;
        }
        const bool request = reply == code(ReplyCode::AdcRequest);
        if (callback != nullptr && (!request || samplesSent % 10 == 0)) {
            callback(context, reply, samplesSent);
        }
        if (request) {
            // The set is looked up afresh for every sample, so a set that changed under
            // us can end the replay early but never be read past its end.
            const auto& samples = store.current.adcCounts;
            if (static_cast<std::size_t>(samplesSent) >= samples.size()) {
                logLine("The device is requesting ADC data. Data: ");
                logLine("End of available data.");
                break;
            }
            const auto sample = static_cast<std::uint16_t>(samples[samplesSent]);
            ++samplesSent;
            logLine("The device is requesting ADC data. Data: ", sample);
            if (cancelRequested()) {
                logLine("User ended emulation.");
                logLine("Reseting device.");
                return reset();
            }
            if (!sendMessage(sample, code(CommandCode::AdcSample))) {
                logLine("Write Error");
                return false;
            }
            continue;
        }
        if (isFlightEvent(reply)) {
            logEvent(reply, value);
            continue;
        }
        if (reply == code(ReplyCode::EndOfLaunch)) {
            logLine("Device indicates end of launch.");
        } else {
            logLine("Unknown code received.");
        }
        break;
    }
    if (!reset()) {
        return false;
    }
    std::uint16_t value = 0;
    std::uint8_t reply = 0;
    if (!receiveMessage(kEmulationReplyTimeoutMs, value, reply)) {
        logLine("Read Error.");
        return false;
    }
    return reply == code(ReplyCode::Complete);
}

}  // namespace tevusb::device
