// SPDX-License-Identifier: MIT
#include "device/sim/bootloader_firmware.h"

#include <algorithm>

namespace tevusb::device::sim {

namespace {
SimReport answer(std::uint8_t first, std::uint8_t second = 0) {
    SimReport report;
    report.payload.assign(kBootPayload, 0);
    report.payload[0] = first;
    report.payload[1] = second;
    return report;
}
}  // namespace

BootloaderFirmware::BootloaderFirmware(std::uint16_t hardwareVersion)
    : m_hardwareVersion(hardwareVersion) {
    eraseFlash();
}

void BootloaderFirmware::eraseFlash() {
    m_flash.fill(0xFF);
    m_written.clear();
}

void BootloaderFirmware::restart() {
    m_phase = Phase::Idle;
}

std::vector<SimReport> BootloaderFirmware::handle(const std::uint8_t* payload) {
    std::vector<SimReport> out;
    switch (m_phase) {
        case Phase::AwaitAddress:
            m_address = static_cast<std::uint16_t>(payload[0] | (payload[1] << 8));
            m_phase = Phase::AwaitData;
            return out;
        case Phase::AwaitData:
            m_phase = Phase::Idle;
            // Only whole, aligned blocks go into flash; anything else is refused.
            if (m_address % kBlockSize != 0) {
                out.push_back(answer(kBlockRejected));
                return out;
            }
            std::copy(payload, payload + kBlockSize, m_flash.begin() + m_address);
            m_written.push_back(m_address);
            out.push_back(answer(kBlockAccepted));
            return out;
        case Phase::Idle:
            break;
    }
    switch (static_cast<BootCommand>(payload[0])) {
        case BootCommand::VersionQuery:
            out.push_back(answer(static_cast<std::uint8_t>(m_hardwareVersion & 0xFF),
                                 static_cast<std::uint8_t>(m_hardwareVersion >> 8)));
            break;
        case BootCommand::WriteBlock:
            m_phase = Phase::AwaitAddress;
            break;
        default:
            out.push_back(answer(kBlockRejected));
            break;
    }
    return out;
}

}  // namespace tevusb::device::sim
