// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "device/sim/altimeter_state.h"
#include "device/sim/deployment_logic.h"

namespace tevusb::device::sim {

// The command interpreter of the application firmware: takes one message (value, code)
// and returns the reports it answers with, in order. Messages that arrive out of turn
// abandon the exchange in progress, the way a small firmware loop does.
class ApplicationFirmware {
  public:
    explicit ApplicationFirmware(AltimeterState& state);

    std::vector<SimReport> handle(std::uint16_t value, std::uint8_t code);
    // Back to idle, as after power-up.
    void restart();

    bool emulating() const { return m_phase == Phase::Emulating; }

  private:
    enum class Phase { Idle, AwaitPacketIndex, ReceivingSettings, Emulating, EmulationEnded };

    void sendPacket(std::uint16_t index, std::vector<SimReport>& out) const;
    void takeSample(std::uint16_t value, std::vector<SimReport>& out);

    AltimeterState& m_state;
    Phase m_phase = Phase::Idle;
    settings::SettingsImage m_incoming{};
    std::size_t m_incomingCount = 0;
    std::optional<DeploymentLogic> m_logic;
};

// A 3-byte input report: value little-endian, then the code.
SimReport message(std::uint16_t value, Reply code,
                  std::chrono::microseconds holdBack = std::chrono::microseconds{0});

}  // namespace tevusb::device::sim
