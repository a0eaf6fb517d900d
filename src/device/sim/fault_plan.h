// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <vector>

#include "device/sim/altimeter_state.h"

namespace tevusb::device::sim {

// A report leaving the device after the faults have had their say. `unplug` marks the
// point where the device drops off the bus instead of sending anything more.
struct OutgoingReport {
    SimReport report;
    bool unplug = false;
};

// The faults a test has armed. Reports are numbered in the order the device produces
// them (see SimAltimeter::reportsProduced); every fault fires once, except the silence,
// which lasts until cleared.
class FaultPlan {
  public:
    explicit FaultPlan(std::uint32_t seed) : m_garbage(seed ^ 0x5A5A5A5Au) {}

    void muteNextCommand() { m_muteNext = true; }
    void silenceFrom(std::uint64_t report) { m_silenceFrom = report; }
    void wrongCodeAt(std::uint64_t report, std::uint8_t code) { m_wrongCode[report] = code; }
    void earlyCompleteAt(std::uint64_t report) { m_earlyComplete[report] = true; }
    void unplugAt(std::uint64_t report) { m_unplugAt = report; }
    // Replaces a report by these bytes; with none, by random bytes of the same length.
    void garbageAt(std::uint64_t report, std::vector<std::uint8_t> bytes) {
        m_garbageAt[report] = std::move(bytes);
    }
    // Sends one extra report just before report n; it takes no number of its own.
    void strayAt(std::uint64_t report, SimReport stray) {
        m_stray[report].push_back(std::move(stray));
    }
    void clear();
    bool armed() const;

    // Passes the answer to one request through the plan. `next` is the number of its
    // first report and moves past all of them, whether they survive or not.
    std::vector<OutgoingReport> apply(std::vector<SimReport> replies, std::uint64_t& next,
                                      bool bootloader);

  private:
    bool m_muteNext = false;
    std::optional<std::uint64_t> m_silenceFrom;
    std::optional<std::uint64_t> m_unplugAt;
    std::map<std::uint64_t, std::uint8_t> m_wrongCode;
    std::map<std::uint64_t, bool> m_earlyComplete;
    std::map<std::uint64_t, std::vector<std::uint8_t>> m_garbageAt;
    std::map<std::uint64_t, std::vector<SimReport>> m_stray;
    std::mt19937 m_garbage;
};

}  // namespace tevusb::device::sim
