// SPDX-License-Identifier: MIT
// The bus side of SimAltimeter: what a SimHandle's writes and reads do.
#include <algorithm>
#include <cstring>

#include "device/sim/sim_altimeter.h"

namespace tevusb::device::sim {

std::optional<std::uint64_t> SimAltimeter::openGeneration() const {
    std::lock_guard lock(m_mutex);
    if (!m_attached || m_refuseOpen) {
        return std::nullopt;
    }
    return m_generation;
}

// The bus runs in frames of one report time, as a full-speed interrupt endpoint does with
// its 1 ms frames: a report goes out in the first frame after it is ready and after the
// previous report of its direction. How late within a frame the host asked costs nothing.
SimAltimeter::Clock::time_point SimAltimeter::nextFrameLocked(Clock::time_point after) const {
    const auto delay = m_state.timing.reportDelay;
    if (delay.count() <= 0) {
        return after;
    }
    const auto frames = (after - m_epoch) / delay;
    return m_epoch + (frames + 1) * delay;
}

void SimAltimeter::enqueueLocked(std::vector<SimReport> replies) {
    for (OutgoingReport& out : m_faults.apply(std::move(replies), m_produced, m_bootloader)) {
        const auto now = Clock::now();
        const auto readyAt = nextFrameLocked(std::max(now, m_lastReady)) + out.report.holdBack;
        m_lastReady = readyAt;
        m_queue.push_back({std::move(out.report.payload), readyAt, out.unplug});
    }
    m_changed.notify_all();
}

int SimAltimeter::transferWrite(std::uint64_t generation, const std::uint8_t* data,
                                std::size_t length, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    if (!m_attached || generation != m_generation) {
        return -1;
    }
    const std::uint64_t write = m_writes++;
    if (m_unplugAtWrite && write >= *m_unplugAtWrite) {
        m_unplugAtWrite.reset();
        detachLocked();
        return -1;
    }
    if (m_stallFrom && write >= *m_stallFrom) {
        // Refused until the limit passes, the device goes away or the fault is cleared.
        const auto released = [&] {
            return !m_attached || generation != m_generation || !m_stallFrom;
        };
        if (timeoutMs < 0) {
            m_changed.wait(lock, released);
        } else {
            m_changed.wait_until(lock, Clock::now() + std::chrono::milliseconds(timeoutMs),
                                 released);
        }
        return -1;
    }
    // Output reports are unnumbered: report id 0 and exactly the endpoint's size.
    const std::size_t expected = m_bootloader ? kBootReport : kMessageReport;
    if (data == nullptr || length != expected || data[0] != 0) {
        return -1;
    }
    // An output report takes a frame of its own, as on an interrupt OUT endpoint.
    if (m_state.timing.reportDelay.count() > 0) {
        const auto now = Clock::now();
        const auto doneAt = nextFrameLocked(std::max(now, m_lastWriteDone));
        if (timeoutMs >= 0 && doneAt > now + std::chrono::milliseconds(timeoutMs)) {
            return -1;
        }
        m_lastWriteDone = doneAt;
        const bool gone = m_changed.wait_until(
            lock, doneAt, [&] { return !m_attached || generation != m_generation; });
        if (gone) {
            return -1;
        }
    }
    if (m_bootloader) {
        ++m_bootReports;
        enqueueLocked(m_bootloaderFirmware.handle(data + 1));
        return static_cast<int>(length);
    }
    const auto value = static_cast<std::uint16_t>(data[1] | (data[2] << 8));
    const std::uint8_t code = data[3];
    m_received.push_back({value, code});
    if (code == static_cast<std::uint8_t>(Command::Reset)) {
        // A reset stops the device mid-answer: what it has not sent yet never comes.
        // Reports already on the bus stay in the host's buffer.
        const auto now = Clock::now();
        std::erase_if(m_queue, [now](const Queued& q) { return q.readyAt > now; });
        m_lastReady = std::min(m_lastReady, now);
    }
    enqueueLocked(m_application.handle(value, code));
    return static_cast<int>(length);
}

int SimAltimeter::transferRead(std::uint64_t generation, std::uint8_t* data, std::size_t length,
                               int timeoutMs) {
    if (data == nullptr || length == 0) {
        return -1;  // nowhere to put a report: refuse rather than lose one
    }
    std::unique_lock lock(m_mutex);
    const bool forever = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (!m_attached || generation != m_generation) {
            return -1;
        }
        const auto now = Clock::now();
        if (!m_queue.empty() && m_queue.front().readyAt <= now) {
            Queued front = std::move(m_queue.front());
            m_queue.pop_front();
            if (front.unplug) {
                detachLocked();
                return -1;
            }
            const std::size_t n = std::min(length, front.payload.size());
            std::copy_n(front.payload.begin(), n, data);
            return static_cast<int>(n);
        }
        if (!forever && now >= deadline) {
            return 0;
        }
        if (!m_queue.empty()) {
            const auto wake =
                forever ? m_queue.front().readyAt : std::min(deadline, m_queue.front().readyAt);
            m_changed.wait_until(lock, wake);
        } else if (forever) {
            m_changed.wait(lock);
        } else {
            m_changed.wait_until(lock, deadline);
        }
    }
}

}  // namespace tevusb::device::sim
