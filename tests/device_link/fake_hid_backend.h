// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/change_broadcaster.h"
#include "device/hid_backend.h"

namespace tevusb::device::test {

using Report = std::vector<std::uint8_t>;

// One fake HID interface behind hidraw's rules: input reports are queued without their
// report id byte, output reports are recorded as written (id byte first). Behaviour can be
// switched per test: delays, a write that never returns until released, read errors.
// It also checks how it is used: never from two threads at once, never after release.
class FakeDevice {
  public:
    // Queues an input report (payload only), as the device sending it.
    void send(Report payload);
    // Called with each written report; may send() replies.
    void setResponder(std::function<void(FakeDevice&, const Report&)> responder);
    std::vector<Report> written() const;

    std::atomic<int> writeDelayMs{0};  // the write ignores its time limit while sleeping
    std::atomic<bool> writeHangs{false};
    std::atomic<bool> readFails{false};

    // Lets a hanging write return.
    void releaseWrites();
    // True once a hanging write is blocked inside the fake.
    bool waitUntilWriteHangs(int timeoutMs);

    std::atomic<int> liveHandles{0};
    std::atomic<int> concurrentUse{0};  // times two threads were inside one handle at once
    std::atomic<int> inside{0};         // callers inside any handle now

    // The handle's side.
    int read(std::uint8_t* data, std::size_t length, int timeoutMs);
    int write(const std::uint8_t* data, std::size_t length);

  private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Report> m_input;
    std::vector<Report> m_written;
    std::function<void(FakeDevice&, const Report&)> m_responder;
    bool m_released = false;
    bool m_hanging = false;
};

// A backend listing fake interfaces; each may be backed by a FakeDevice to open.
class FakeHidBackend final : public HidBackend {
  public:
    void setInterfaces(std::vector<HidDeviceInfo> list);
    // Makes `path` openable, backed by `device`.
    void attach(const std::string& path, std::shared_ptr<FakeDevice> device);
    void setNotifierSupport(bool on);
    // Signals every notifier created so far, as a hot-plug would.
    void notifyChange();

    int opens() const { return m_opens; }
    // Runs inside open(), after the interface was opened: lets a test act meanwhile.
    std::function<void()> duringOpen;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::unique_ptr<ChangeNotifier> createNotifier() override;

  private:
    mutable std::mutex m_mutex;
    std::vector<HidDeviceInfo> m_interfaces;
    std::vector<std::pair<std::string, std::shared_ptr<FakeDevice>>> m_devices;
    ChangeBroadcaster m_changes;
    bool m_notifierSupport = true;
    std::atomic<int> m_opens{0};
};

// Whether fd becomes readable within timeoutMs.
bool readable(int fd, int timeoutMs);

}  // namespace tevusb::device::test
