// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "data/memory_packet.h"

namespace tevusb::device::sim {

// The altimeter's flight memory: 128 packets of 64 bytes. A set is a packet of type 2
// followed by continuation packets; what was never written reads as 0xFF.
class FlightMemory {
  public:
    static constexpr int kPacketCount = 128;
    static constexpr std::uint8_t kContinuation = 1;

    FlightMemory();

    void erase();
    // Stores one flight after the last one; a flight that does not fit is cut where the
    // memory ends. Returns the index of its first packet, or -1 when memory is full.
    int appendSet(const std::vector<std::uint16_t>& readings);
    // Packets written so far (the first erased packet).
    int usedPackets() const { return m_used; }

    const data::MemoryPacket& packet(int index) const;
    void setPacket(int index, const data::MemoryPacket& packet);
    // Word j (0..31) of a packet as the device sends it: word 0 carries the type byte
    // and the second header byte, words 1..31 the readings.
    std::uint16_t word(int index, int j) const;

  private:
    std::array<data::MemoryPacket, kPacketCount> m_packets;
    int m_used = 0;
};

}  // namespace tevusb::device::sim
