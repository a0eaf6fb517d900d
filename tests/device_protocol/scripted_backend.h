#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device::testing {

// A fake HID backend that plays one conversation: the reports the program must write, in
// order, and the device's answers as hidraw delivers them (without the report id byte).
// Anything off-script is recorded in faults() so a test sees exactly where it went wrong.
class ScriptedBackend : public HidBackend {
  public:
    std::vector<HidDeviceInfo> devices;
    std::set<std::string> unopenable;

    // The program must write exactly these bytes next; `accepted` false makes it fail.
    void expectWrite(std::vector<std::uint8_t> bytes, bool accepted = true);
    void expectMessage(std::uint16_t value, std::uint8_t code, bool accepted = true);
    // The next read returns this payload.
    void reply(std::vector<std::uint8_t> payload);
    void replyMessage(std::uint16_t value, std::uint8_t code);
    // The next read that waits finds nothing within its limit.
    void silence();
    // Runs `action` when the step scripted last is played, as if from another thread
    // at that very moment (a user cancelling while the device answers).
    void whenPlayed(std::function<void()> action);

    const std::vector<std::string>& faults() const;
    // Steps not yet played.
    std::size_t pending() const;
    int openCount() const { return m_opens; }
    // The time limits the program gave its waiting reads, in order.
    const std::vector<int>& readTimeouts() const;

    std::vector<HidDeviceInfo> enumerate() override { return devices; }
    std::unique_ptr<HidHandle> open(const std::string& path) override;

    struct Step {
        enum class Kind { Write, Read, Silence } kind;
        std::vector<std::uint8_t> bytes;
        bool accepted = true;
        std::function<void()> action;
    };
    struct Script {
        std::deque<Step> steps;
        std::vector<std::string> faults;
        std::vector<int> readTimeouts;
    };

  private:
    std::shared_ptr<Script> m_script = std::make_shared<Script>();
    int m_opens = 0;
};

// An application-firmware device of the given version, and a bootloader of the given one.
HidDeviceInfo applicationDevice(std::uint16_t version = 0x0150, std::string path = "/dev/hidraw0");
HidDeviceInfo bootloaderDevice(std::uint16_t version = 0x0110, std::string path = "/dev/hidraw1");

}  // namespace tevusb::device::testing
