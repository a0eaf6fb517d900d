// SPDX-License-Identifier: MIT
#include "scripted_backend.h"

#include <algorithm>
#include <sstream>
#include <thread>

namespace tevusb::device::testing {

namespace {

using Kind = ScriptedBackend::Step::Kind;
using Clock = std::chrono::steady_clock;

std::string describe(const std::uint8_t* data, std::size_t length) {
    std::ostringstream out;
    out << '[';
    for (std::size_t i = 0; i < length && i < 8; ++i) {
        out << (i ? " " : "") << int(data[i]);
    }
    out << (length > 8 ? " ...]" : "]");
    return out.str();
}

class ScriptedHandle : public HidHandle {
  public:
    explicit ScriptedHandle(std::shared_ptr<ScriptedBackend::Script> script)
        : m_script(std::move(script)) {}

    int write(const std::uint8_t* data, std::size_t length, int) override {
        std::function<void()> action;
        int result = -1;
        {
            std::lock_guard lock(m_script->mutex);
            auto& steps = m_script->steps;
            if (steps.empty() || steps.front().kind != Kind::Write) {
                m_script->faults.push_back(
                    (steps.empty() ? "write past the end: " : "write while a reply was due: ") +
                    describe(data, length));
                return -1;
            }
            ScriptedBackend::Step step = std::move(steps.front());
            steps.pop_front();
            if (!std::equal(data, data + length, step.bytes.begin(), step.bytes.end())) {
                m_script->faults.push_back("wrote " + describe(data, length) + ", expected " +
                                           describe(step.bytes.data(), step.bytes.size()));
            }
            action = std::move(step.action);
            result = step.accepted ? static_cast<int>(length) : -1;
        }
        if (action) {
            action();
        }
        return result;
    }

    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        std::function<void()> action;
        int result = 0;
        {
            std::unique_lock lock(m_script->mutex);
            auto& steps = m_script->steps;
            const bool waiting = timeoutMs > 0;
            if (steps.empty() || steps.front().kind == Kind::Write) {
                // Nothing queued; waiting for it is a fault of the conversation.
                if (!waiting) {
                    return 0;
                }
                m_script->faults.push_back(steps.empty() ? "read past the end"
                                                         : "read while a write was due");
                return -1;
            }
            ScriptedBackend::Step& step = steps.front();
            if (!waiting) {
                // The link clears queued input before each write; a reply still
                // scripted then was never read, and the write that follows says so.
                return 0;
            }
            if (step.kind == Kind::Silence) {
                action = std::move(step.action);
                steps.pop_front();
                result = -1;
            } else {
                if (!step.waitedSince) {
                    step.waitedSince = Clock::now();
                }
                const auto due = *step.waitedSince + std::chrono::milliseconds(step.delayMs);
                if (Clock::now() < due) {
                    lock.unlock();
                    std::this_thread::sleep_for(std::min<Clock::duration>(
                        due - Clock::now(), std::chrono::milliseconds(timeoutMs)));
                    return 0;
                }
                const std::size_t n = std::min(length, step.bytes.size());
                std::copy_n(step.bytes.begin(), n, data);
                action = std::move(step.action);
                steps.pop_front();
                result = static_cast<int>(n);
            }
        }
        if (action) {
            action();
        }
        return result;
    }

  private:
    std::shared_ptr<ScriptedBackend::Script> m_script;
};

}  // namespace

void ScriptedBackend::add(Step step) {
    std::lock_guard lock(m_script->mutex);
    m_script->steps.push_back(std::move(step));
}

void ScriptedBackend::expectWrite(std::vector<std::uint8_t> bytes, bool accepted) {
    add({Kind::Write, std::move(bytes), accepted, 0, {}, {}});
}

void ScriptedBackend::expectMessage(std::uint16_t value, std::uint8_t code, bool accepted) {
    expectWrite({0, std::uint8_t(value & 0xFF), std::uint8_t(value >> 8), code}, accepted);
}

void ScriptedBackend::reply(std::vector<std::uint8_t> payload, int delayMs) {
    add({Kind::Read, std::move(payload), true, delayMs, {}, {}});
}

void ScriptedBackend::replyMessage(std::uint16_t value, std::uint8_t code, int delayMs) {
    reply({std::uint8_t(value & 0xFF), std::uint8_t(value >> 8), code}, delayMs);
}

void ScriptedBackend::silence() {
    add({Kind::Silence, {}, true, 0, {}, {}});
}

void ScriptedBackend::whenPlayed(std::function<void()> action) {
    std::lock_guard lock(m_script->mutex);
    m_script->steps.back().action = std::move(action);
}

std::vector<std::string> ScriptedBackend::faults() const {
    std::lock_guard lock(m_script->mutex);
    return m_script->faults;
}

std::size_t ScriptedBackend::pending() const {
    std::lock_guard lock(m_script->mutex);
    return m_script->steps.size();
}

int ScriptedBackend::openCount() const {
    std::lock_guard lock(m_script->mutex);
    return m_script->opens;
}

std::vector<HidDeviceInfo> ScriptedBackend::enumerate() {
    return devices;
}

std::unique_ptr<HidHandle> ScriptedBackend::open(const std::string& path) {
    if (unopenable.count(path) != 0) {
        return nullptr;
    }
    const bool known = std::any_of(devices.begin(), devices.end(),
                                   [&](const HidDeviceInfo& d) { return d.path == path; });
    if (!known) {
        return nullptr;
    }
    std::lock_guard lock(m_script->mutex);
    ++m_script->opens;
    return std::make_unique<ScriptedHandle>(m_script);
}

HidDeviceInfo applicationDevice(std::uint16_t version, std::string path) {
    return {std::move(path), 0x03DB, 2, version};
}

HidDeviceInfo bootloaderDevice(std::uint16_t version, std::string path) {
    return {std::move(path), 0x03DB, 1, version};
}

}  // namespace tevusb::device::testing
