// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device::testing {

// A fake HID backend that plays one conversation: the reports the program must write, in
// order, and the device's answers as hidraw delivers them (without the report id byte).
// Anything off-script is recorded in faults() so a test sees exactly where it went wrong.
// Like a real altimeter it says nothing until asked: a read that only takes what is
// queued finds nothing while a write is due.
class ScriptedBackend : public HidBackend {
  public:
    std::vector<HidDeviceInfo> devices;
    std::set<std::string> unopenable;

    // The program must write exactly these bytes next; `accepted` false makes it fail.
    void expectWrite(std::vector<std::uint8_t> bytes, bool accepted = true);
    void expectMessage(std::uint16_t value, std::uint8_t code, bool accepted = true);
    // The next read returns this payload, `delayMs` after the program starts waiting.
    void reply(std::vector<std::uint8_t> payload, int delayMs = 0);
    void replyMessage(std::uint16_t value, std::uint8_t code, int delayMs = 0);
    // The device stops answering: the next waiting read fails at once, as the link
    // reports a reply that never comes (without making the test wait out the limit).
    void silence();
    // Runs `action` when the step scripted last is played, as if from another thread
    // at that very moment (a user cancelling while the device answers).
    void whenPlayed(std::function<void()> action);

    std::vector<std::string> faults() const;
    // Steps not yet played.
    std::size_t pending() const;
    int openCount() const;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;

    struct Step {
        enum class Kind { Write, Read, Silence } kind;
        std::vector<std::uint8_t> bytes;
        bool accepted = true;
        int delayMs = 0;
        std::function<void()> action;
        std::optional<std::chrono::steady_clock::time_point> waitedSince;
    };
    // Shared with the handles, which the link drives from its own thread.
    struct Script {
        mutable std::mutex mutex;
        std::deque<Step> steps;
        std::vector<std::string> faults;
        int opens = 0;
    };

  private:
    void add(Step step);

    std::shared_ptr<Script> m_script = std::make_shared<Script>();
};

// An application-firmware device of the given version, and a bootloader of the given one.
HidDeviceInfo applicationDevice(std::uint16_t version = 0x0150, std::string path = "/dev/hidraw0");
HidDeviceInfo bootloaderDevice(std::uint16_t version = 0x0110, std::string path = "/dev/hidraw1");

}  // namespace tevusb::device::testing
