// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "device/sim/altimeter_state.h"
#include "device/sim/application_firmware.h"
#include "device/sim/bootloader_firmware.h"
#include "device/sim/fault_plan.h"
#include "device/sim/flight_simulator.h"
#include "device/sim/notifier_hub.h"
#include "device/sim/sim_config.h"

namespace tevusb::device::sim {

// One message the program sent to the application firmware.
struct SimMessage {
    std::uint16_t value = 0;
    std::uint8_t code = 0;
    bool operator==(const SimMessage&) const = default;
};

// A preloaded flight and where it lies in flight memory.
struct StoredFlight {
    RecordedFlight flight;
    int firstPacket = -1;
    int packetCount = 0;
};

// One simulated altimeter on the bus. Every member is safe to call from any thread: the
// control side (tests, the --simulator front ends) and the transport side (SimHandle,
// used by the program's worker) share one lock. Input reports wait in a queue, each with
// the time from which it may be read.
class SimAltimeter {
  public:
    using Clock = std::chrono::steady_clock;

    SimAltimeter(std::string path, const SimConfig& config, std::shared_ptr<NotifierHub> notifier);

    // --- Presence and mode; every change makes the watchers' notifiers readable.
    HidDeviceInfo info() const;
    const std::string& path() const { return m_path; }
    bool isAttached() const;
    bool inBootloader() const;
    void attach();
    // Unplugs: transfers in flight and every later one on handles opened before fail.
    void detach();
    // Re-enumerates as the bootloader (product 1) or the application (product 2); an
    // unplugged device comes back in that mode, as when plugged in with the button held.
    void switchToBootloader();
    void switchToApplication();

    // --- Identity and timing.
    void setFirmwareVersion(std::uint16_t version);
    void setBootloaderVersion(std::uint16_t version);
    void setHardwareVersion(std::uint16_t version);
    void setTiming(const SimTiming& timing);
    SimTiming timing() const;

    // --- Device contents.
    settings::SettingsImage settingsImage() const;
    void setSettingsImage(const settings::SettingsImage& image);
    // Breaks the stored checksum so that a read-back fails its check.
    void corruptSettingsChecksum();
    data::MemoryPacket packet(int index) const;
    void setPacket(int index, const data::MemoryPacket& packet);
    int usedPackets() const;
    void eraseMemory();
    // Erases the memory and records `count` new flights with the current settings.
    void loadFlights(int count);
    std::vector<StoredFlight> flights() const;
    void setAmbientAltitude(double metres);
    void setBatteryTenths(std::uint16_t tenths);
    void setSensorBias(int counts);

    // --- What the device did.
    // FireLines commands taken, and whether the lines are still on from the last one.
    int fireCount() const;
    bool linesFiring() const;
    int clearCount() const;
    int settingsWrites() const;
    int emulationSamples() const;
    std::vector<DeploymentEvent> emulationEvents() const;
    std::vector<SimMessage> receivedMessages() const;
    int bootReportsReceived() const;
    std::array<std::uint8_t, BootloaderFirmware::kFlashSize> flash() const;
    std::vector<std::uint16_t> writtenBlocks() const;
    // Input reports produced so far (before faults); fault positions count from here.
    std::uint64_t reportsProduced() const;
    // Input reports waiting to be read.
    std::size_t pendingReports() const;

    // --- Faults. `n` counts from the next report the device produces (0 = next one).
    // The next request that has an answer gets none at all (requests without one, such
    // as a plain Reset or the first ReadPacket message, leave the fault armed).
    void injectNoReplyToNextCommand();
    // Report n and every later one are never sent, until clearFaults().
    void injectSilenceFromReport(std::uint64_t n);
    // Report n carries `code` instead of its own (the status byte in bootloader mode).
    void injectWrongCode(std::uint64_t n, std::uint8_t code);
    // Report n becomes Complete and the rest of that answer is dropped.
    void injectEarlyComplete(std::uint64_t n);
    // The device drops off the bus when report n is due to be read.
    void injectUnplugAtReport(std::uint64_t n);
    // An extra report (value, code) arrives just before report n, as a reply the host
    // did not ask for; in bootloader mode its first byte is `code`.
    void injectStrayReport(std::uint64_t n, std::uint16_t value, std::uint8_t code);
    // Report n is replaced by `bytes`, or by random bytes of its own length.
    void injectGarbage(std::uint64_t n, std::vector<std::uint8_t> bytes = {});
    // Opening fails while set, as when another program holds the device.
    void setRefuseOpen(bool refuse);
    // The device drops off the bus when the n-th output report (0 = the next write)
    // reaches it; that report is not taken, nor acted on.
    void injectUnplugAtWrite(std::uint64_t n);
    // Output reports from the n-th on (0 = the next write) are not taken: each write
    // waits out its time limit and fails, as with an endpoint that keeps refusing.
    void injectWriteStallFrom(std::uint64_t n);
    void clearFaults();

    // --- Transport, for SimHandle. A handle remembers the generation it was opened in;
    // a detach starts a new one, so the handle is dead from then on.
    std::optional<std::uint64_t> openGeneration() const;
    int transferWrite(std::uint64_t generation, const std::uint8_t* data, std::size_t length,
                      int timeoutMs);
    int transferRead(std::uint64_t generation, std::uint8_t* data, std::size_t length,
                     int timeoutMs);

  private:
    struct Queued {
        std::vector<std::uint8_t> payload;
        Clock::time_point readyAt;
        bool unplug = false;
    };

    Clock::time_point nextFrameLocked(Clock::time_point after) const;
    void enqueueLocked(std::vector<SimReport> replies);
    void detachLocked();
    void attachLocked();
    void loadFlightsLocked(int count);

    const std::string m_path;
    const std::shared_ptr<NotifierHub> m_notifier;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;

    bool m_attached;
    bool m_bootloader;
    bool m_refuseOpen = false;
    std::uint64_t m_generation = 1;
    std::uint16_t m_firmwareVersion;
    std::uint16_t m_bootloaderVersion;

    AltimeterState m_state;
    ApplicationFirmware m_application;
    BootloaderFirmware m_bootloaderFirmware;
    FaultPlan m_faults;

    std::deque<Queued> m_queue;
    Clock::time_point m_lastReady{};
    Clock::time_point m_lastWriteDone{};
    const Clock::time_point m_epoch = Clock::now();
    std::uint64_t m_produced = 0;
    std::vector<SimMessage> m_received;
    int m_bootReports = 0;
    std::uint64_t m_writes = 0;
    std::optional<std::uint64_t> m_stallFrom;
    std::optional<std::uint64_t> m_unplugAtWrite;
    std::vector<StoredFlight> m_flights;
};

}  // namespace tevusb::device::sim
