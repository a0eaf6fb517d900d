// SPDX-License-Identifier: MIT
#include "device/sim/application_firmware.h"

namespace tevusb::device::sim {

SimReport message(std::uint16_t value, Reply code, std::chrono::microseconds holdBack) {
    return {{static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(code)},
            holdBack};
}

ApplicationFirmware::ApplicationFirmware(AltimeterState& state) : m_state(state) {}

void ApplicationFirmware::restart() {
    m_phase = Phase::Idle;
    m_incomingCount = 0;
    m_logic.reset();
}

std::vector<SimReport> ApplicationFirmware::handle(std::uint16_t value, std::uint8_t code) {
    std::vector<SimReport> out;
    const Phase phase = m_phase;
    const auto command = static_cast<Command>(code);

    // The continuations of a running exchange.
    if (phase == Phase::ReceivingSettings && command == Command::Data) {
        m_incoming[m_incomingCount++] = static_cast<std::uint8_t>(value & 0xFF);
        if (m_incomingCount == m_incoming.size()) {
            m_state.settingsImage = m_incoming;
            ++m_state.settingsWrites;
            m_phase = Phase::Idle;
            out.push_back(message(0, Reply::Complete));
        }
        return out;
    }
    if (phase == Phase::Emulating && command == Command::AdcSample) {
        takeSample(value, out);
        return out;
    }
    if (phase == Phase::AwaitPacketIndex && command == Command::ReadPacket) {
        m_phase = Phase::Idle;
        sendPacket(value, out);
        return out;
    }

    restart();
    switch (command) {
        case Command::Reset:
            // Only the launch emulation is closed with an acknowledged reset.
            if (phase == Phase::Emulating || phase == Phase::EmulationEnded) {
                out.push_back(message(0, Reply::Complete));
            }
            break;
        case Command::ReadPacket:
            m_phase = Phase::AwaitPacketIndex;
            break;
        case Command::ReadAdc:
            out.push_back(message(m_state.sensor.sample(m_state.ambientAltitude), Reply::Value));
            out.push_back(message(0, Reply::Complete));
            break;
        case Command::ReadBattery:
            out.push_back(message(m_state.batteryTenths, Reply::Value));
            out.push_back(message(0, Reply::Complete));
            break;
        case Command::FireLines:
            ++m_state.fireCount;
            m_state.lastFire = std::chrono::steady_clock::now();
            out.push_back(message(0, Reply::Complete, m_state.timing.fireDuration));
            break;
        case Command::ClearMemory:
            m_state.memory.erase();
            ++m_state.clearCount;
            out.push_back(message(0, Reply::Complete));
            break;
        case Command::ReadSettings:
            for (const std::uint8_t byte : m_state.settingsImage) {
                out.push_back(message(byte, Reply::Value));
            }
            out.push_back(message(0, Reply::Complete));
            break;
        case Command::WriteSettings:
            m_phase = Phase::ReceivingSettings;
            m_incomingCount = 0;
            break;
        case Command::EmulateLaunch:
            m_phase = Phase::Emulating;
            m_logic.emplace(FlightRules::fromImage(m_state.settingsImage));
            m_state.emulationEvents.clear();
            m_state.emulationSamples = 0;
            out.push_back(message(0, Reply::AdcRequest, m_state.timing.samplePace));
            break;
        case Command::Data:
        case Command::AdcSample:
            break;  // out of turn: nothing to continue
    }
    return out;
}

void ApplicationFirmware::sendPacket(std::uint16_t index, std::vector<SimReport>& out) const {
    if (index >= FlightMemory::kPacketCount) {
        // No such packet: the device has nothing to send and says so at once.
        out.push_back(message(0, Reply::Complete));
        return;
    }
    for (int j = 0; j < 32; ++j) {
        out.push_back(message(m_state.memory.word(index, j), Reply::DataWord));
    }
    out.push_back(message(0, Reply::Complete));
}

void ApplicationFirmware::takeSample(std::uint16_t value, std::vector<SimReport>& out) {
    ++m_state.emulationSamples;
    for (const DeploymentEvent& event : m_logic->feed(value & 0x3FFF)) {
        m_state.emulationEvents.push_back(event);
        out.push_back(message(static_cast<std::uint16_t>(event.value), event.code));
    }
    if (m_logic->ended()) {
        m_phase = Phase::EmulationEnded;
    } else {
        out.push_back(message(0, Reply::AdcRequest, m_state.timing.samplePace));
    }
}

}  // namespace tevusb::device::sim
