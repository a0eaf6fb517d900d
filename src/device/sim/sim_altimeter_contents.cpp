// SPDX-License-Identifier: MIT
// The control side of SimAltimeter that reads and changes what the device holds and
// reports what it did.
#include <algorithm>

#include "device/sim/sim_altimeter.h"

namespace tevusb::device::sim {

settings::SettingsImage SimAltimeter::settingsImage() const {
    std::lock_guard lock(m_mutex);
    return m_state.settingsImage;
}

void SimAltimeter::setSettingsImage(const settings::SettingsImage& image) {
    std::lock_guard lock(m_mutex);
    m_state.settingsImage = image;
}

void SimAltimeter::corruptSettingsChecksum() {
    std::lock_guard lock(m_mutex);
    m_state.settingsImage[15] ^= 0x5A;
}

data::MemoryPacket SimAltimeter::packet(int index) const {
    std::lock_guard lock(m_mutex);
    return m_state.memory.packet(index);
}

void SimAltimeter::setPacket(int index, const data::MemoryPacket& packet) {
    std::lock_guard lock(m_mutex);
    m_state.memory.setPacket(index, packet);
}

int SimAltimeter::usedPackets() const {
    std::lock_guard lock(m_mutex);
    return m_state.memory.usedPackets();
}

void SimAltimeter::eraseMemory() {
    std::lock_guard lock(m_mutex);
    m_state.memory.erase();
    m_flights.clear();
}

void SimAltimeter::loadFlights(int count) {
    std::lock_guard lock(m_mutex);
    loadFlightsLocked(count);
}

void SimAltimeter::loadFlightsLocked(int count) {
    m_state.memory.erase();
    m_flights.clear();
    const FlightRules rules = FlightRules::fromImage(m_state.settingsImage);
    for (int k = 0; k < count; ++k) {
        StoredFlight stored;
        stored.flight = simulateFlight(stockProfile(k, m_state.sensor), rules, m_state.sensor);
        stored.firstPacket = m_state.memory.appendSet(stored.flight.words);
        if (stored.firstPacket < 0) {
            break;  // memory full: the device records no more
        }
        stored.packetCount = m_state.memory.usedPackets() - stored.firstPacket;
        m_flights.push_back(std::move(stored));
    }
}

std::vector<StoredFlight> SimAltimeter::flights() const {
    std::lock_guard lock(m_mutex);
    return m_flights;
}

void SimAltimeter::setAmbientAltitude(double metres) {
    std::lock_guard lock(m_mutex);
    m_state.ambientAltitude = metres;
}

void SimAltimeter::setBatteryTenths(std::uint16_t tenths) {
    std::lock_guard lock(m_mutex);
    m_state.batteryTenths = tenths;
}

void SimAltimeter::setSensorBias(int counts) {
    std::lock_guard lock(m_mutex);
    m_state.sensor.setBias(counts);
}

int SimAltimeter::fireCount() const {
    std::lock_guard lock(m_mutex);
    return m_state.fireCount;
}

bool SimAltimeter::linesFiring() const {
    std::lock_guard lock(m_mutex);
    return m_state.fireCount > 0 && Clock::now() < m_state.lastFire + m_state.timing.fireDuration;
}

int SimAltimeter::clearCount() const {
    std::lock_guard lock(m_mutex);
    return m_state.clearCount;
}

int SimAltimeter::settingsWrites() const {
    std::lock_guard lock(m_mutex);
    return m_state.settingsWrites;
}

int SimAltimeter::emulationSamples() const {
    std::lock_guard lock(m_mutex);
    return m_state.emulationSamples;
}

std::vector<DeploymentEvent> SimAltimeter::emulationEvents() const {
    std::lock_guard lock(m_mutex);
    return m_state.emulationEvents;
}

std::vector<SimMessage> SimAltimeter::receivedMessages() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

int SimAltimeter::bootReportsReceived() const {
    std::lock_guard lock(m_mutex);
    return m_bootReports;
}

std::array<std::uint8_t, BootloaderFirmware::kFlashSize> SimAltimeter::flash() const {
    std::lock_guard lock(m_mutex);
    return m_bootloaderFirmware.flash();
}

std::vector<std::uint16_t> SimAltimeter::writtenBlocks() const {
    std::lock_guard lock(m_mutex);
    return m_bootloaderFirmware.writtenBlocks();
}

std::uint64_t SimAltimeter::reportsProduced() const {
    std::lock_guard lock(m_mutex);
    return m_produced;
}

std::size_t SimAltimeter::pendingReports() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

// --- Faults ----------------------------------------------------------------------------

void SimAltimeter::injectNoReplyToNextCommand() {
    std::lock_guard lock(m_mutex);
    m_faults.muteNextCommand();
}

void SimAltimeter::injectSilenceFromReport(std::uint64_t n) {
    std::lock_guard lock(m_mutex);
    m_faults.silenceFrom(m_produced + n);
}

void SimAltimeter::injectWrongCode(std::uint64_t n, std::uint8_t code) {
    std::lock_guard lock(m_mutex);
    m_faults.wrongCodeAt(m_produced + n, code);
}

void SimAltimeter::injectEarlyComplete(std::uint64_t n) {
    std::lock_guard lock(m_mutex);
    m_faults.earlyCompleteAt(m_produced + n);
}

void SimAltimeter::injectUnplugAtReport(std::uint64_t n) {
    std::lock_guard lock(m_mutex);
    m_faults.unplugAt(m_produced + n);
}

void SimAltimeter::injectStrayReport(std::uint64_t n, std::uint16_t value, std::uint8_t code) {
    std::lock_guard lock(m_mutex);
    SimReport stray = message(value, static_cast<Reply>(code));
    if (m_bootloader) {
        stray.payload.assign(kBootPayload, 0);
        stray.payload[0] = code;
    }
    m_faults.strayAt(m_produced + n, std::move(stray));
}

void SimAltimeter::injectUnplugAtWrite(std::uint64_t n) {
    std::lock_guard lock(m_mutex);
    m_unplugAtWrite = m_writes + n;
}

void SimAltimeter::injectGarbage(std::uint64_t n, std::vector<std::uint8_t> bytes) {
    std::lock_guard lock(m_mutex);
    m_faults.garbageAt(m_produced + n, std::move(bytes));
}

void SimAltimeter::setRefuseOpen(bool refuse) {
    std::lock_guard lock(m_mutex);
    m_refuseOpen = refuse;
}

void SimAltimeter::injectWriteStallFrom(std::uint64_t n) {
    std::lock_guard lock(m_mutex);
    m_stallFrom = m_writes + n;
}

void SimAltimeter::clearFaults() {
    std::lock_guard lock(m_mutex);
    m_stallFrom.reset();
    m_unplugAtWrite.reset();
    m_faults.clear();
    m_refuseOpen = false;
    m_changed.notify_all();
}

}  // namespace tevusb::device::sim
