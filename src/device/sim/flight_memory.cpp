// SPDX-License-Identifier: MIT
#include "device/sim/flight_memory.h"

#include <algorithm>

namespace tevusb::device::sim {

namespace {
data::MemoryPacket erasedPacket() {
    data::MemoryPacket p;
    p.bytes.fill(0xFF);
    return p;
}
}  // namespace

FlightMemory::FlightMemory() {
    erase();
}

void FlightMemory::erase() {
    m_packets.fill(erasedPacket());
    m_used = 0;
}

int FlightMemory::appendSet(const std::vector<std::uint16_t>& readings) {
    if (m_used >= kPacketCount || readings.empty()) {
        return -1;
    }
    const int first = m_used;
    std::size_t next = 0;
    for (int sequence = 0; next < readings.size() && m_used < kPacketCount; ++sequence) {
        data::MemoryPacket& p = m_packets[static_cast<std::size_t>(m_used++)];
        p = erasedPacket();
        p.bytes[0] = sequence == 0 ? data::MemoryPacket::kSetStart : kContinuation;
        p.bytes[1] = static_cast<std::uint8_t>(sequence);
        for (int j = 1; j <= data::MemoryPacket::kWordCount && next < readings.size(); ++j) {
            p.setWord(j, readings[next++]);
        }
    }
    return first;
}

const data::MemoryPacket& FlightMemory::packet(int index) const {
    return m_packets.at(static_cast<std::size_t>(index));
}

void FlightMemory::setPacket(int index, const data::MemoryPacket& packet) {
    m_packets.at(static_cast<std::size_t>(index)) = packet;
    if (!packet.isErased()) {
        m_used = std::max(m_used, index + 1);
    }
}

std::uint16_t FlightMemory::word(int index, int j) const {
    const auto& bytes = packet(index).bytes;
    const auto at = static_cast<std::size_t>(2 * j);
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

}  // namespace tevusb::device::sim
