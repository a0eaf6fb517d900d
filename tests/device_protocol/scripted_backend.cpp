#include "scripted_backend.h"

#include <algorithm>
#include <sstream>

namespace tevusb::device::testing {

namespace {

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
        auto& steps = m_script->steps;
        if (steps.empty() || steps.front().kind != ScriptedBackend::Step::Kind::Write) {
            m_script->faults.push_back("unexpected write " + describe(data, length));
            return -1;
        }
        const auto step = steps.front();
        steps.pop_front();
        if (step.action) {
            step.action();
        }
        if (!std::equal(data, data + length, step.bytes.begin(), step.bytes.end())) {
            m_script->faults.push_back("wrote " + describe(data, length) + ", expected " +
                                       describe(step.bytes.data(), step.bytes.size()));
        }
        return step.accepted ? static_cast<int>(length) : -1;
    }

    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        auto& steps = m_script->steps;
        const bool answerDue =
            !steps.empty() && steps.front().kind != ScriptedBackend::Step::Kind::Write;
        // A device says nothing until it is asked; a poll without waiting just finds that.
        if (timeoutMs <= 0 &&
            (!answerDue || steps.front().kind == ScriptedBackend::Step::Kind::Silence)) {
            return 0;
        }
        m_script->readTimeouts.push_back(timeoutMs);
        if (!answerDue) {
            m_script->faults.push_back(steps.empty() ? "read past the end of the conversation"
                                                     : "read while a write was due");
            return 0;
        }
        const auto step = steps.front();
        steps.pop_front();
        if (step.action) {
            step.action();
        }
        if (step.kind == ScriptedBackend::Step::Kind::Silence) {
            return 0;
        }
        const std::size_t n = std::min(length, step.bytes.size());
        std::copy_n(step.bytes.begin(), n, data);
        return static_cast<int>(n);
    }

  private:
    std::shared_ptr<ScriptedBackend::Script> m_script;
};

}  // namespace

void ScriptedBackend::expectWrite(std::vector<std::uint8_t> bytes, bool accepted) {
    m_script->steps.push_back({Step::Kind::Write, std::move(bytes), accepted, {}});
}

void ScriptedBackend::expectMessage(std::uint16_t value, std::uint8_t code, bool accepted) {
    expectWrite({0, std::uint8_t(value & 0xFF), std::uint8_t(value >> 8), code}, accepted);
}

void ScriptedBackend::reply(std::vector<std::uint8_t> payload) {
    m_script->steps.push_back({Step::Kind::Read, std::move(payload), true, {}});
}

void ScriptedBackend::replyMessage(std::uint16_t value, std::uint8_t code) {
    reply({std::uint8_t(value & 0xFF), std::uint8_t(value >> 8), code});
}

void ScriptedBackend::silence() {
    m_script->steps.push_back({Step::Kind::Silence, {}, true, {}});
}

void ScriptedBackend::whenPlayed(std::function<void()> action) {
    m_script->steps.back().action = std::move(action);
}

const std::vector<std::string>& ScriptedBackend::faults() const {
    return m_script->faults;
}

std::size_t ScriptedBackend::pending() const {
    return m_script->steps.size();
}

const std::vector<int>& ScriptedBackend::readTimeouts() const {
    return m_script->readTimeouts;
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
    ++m_opens;
    return std::make_unique<ScriptedHandle>(m_script);
}

HidDeviceInfo applicationDevice(std::uint16_t version, std::string path) {
    return {std::move(path), 0x03DB, 2, version};
}

HidDeviceInfo bootloaderDevice(std::uint16_t version, std::string path) {
    return {std::move(path), 0x03DB, 1, version};
}

}  // namespace tevusb::device::testing
