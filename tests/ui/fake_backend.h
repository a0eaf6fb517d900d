// SPDX-License-Identifier: MIT
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::ui::testing {

// HID interfaces a test plugs in and pulls out. Opened handles never answer; a pipe
// plays the system's "something changed" signal when the test asks for one (on Linux:
// Windows has no such descriptor, and its watcher compares on a timer instead).
class FakeBackend : public device::HidBackend {
  public:
    explicit FakeBackend(bool withNotifier) : m_withNotifier(withNotifier) {}

    void plug(const device::HidDeviceInfo& info, bool openable = true) {
        {
            std::lock_guard lock(m_mutex);
            m_devices.push_back(info);
            if (!openable) {
                m_locked.insert(info.path);
            }
        }
        signal();
    }
    void unplug(const std::string& path) {
        {
            std::lock_guard lock(m_mutex);
            std::erase_if(m_devices, [&](const auto& d) { return d.path == path; });
        }
        signal();
    }

    // How often a device was opened.
    int opens() {
        std::lock_guard lock(m_mutex);
        return m_opens;
    }

    std::vector<device::HidDeviceInfo> enumerate() override {
        std::lock_guard lock(m_mutex);
        return m_devices;
    }
    std::unique_ptr<device::HidHandle> open(const std::string& path) override {
        std::lock_guard lock(m_mutex);
        const bool present = std::any_of(m_devices.begin(), m_devices.end(),
                                         [&](const auto& d) { return d.path == path; });
        if (!present || m_locked.count(path) != 0) {
            return nullptr;
        }
        ++m_opens;
        return std::make_unique<Handle>();
    }
    std::unique_ptr<device::ChangeNotifier> createNotifier() override {
#ifdef _WIN32
        return nullptr;
#else
        if (!m_withNotifier) {
            return nullptr;
        }
        auto notifier = std::make_unique<PipeNotifier>();
        std::lock_guard lock(m_mutex);
        m_writeEnds.push_back(notifier->writeEnd());
        return notifier;
#endif
    }

  private:
    class Handle : public device::HidHandle {
      public:
        int write(const std::uint8_t*, std::size_t length, int) override {
            return static_cast<int>(length);
        }
        int read(std::uint8_t*, std::size_t, int) override { return 0; }
    };
#ifndef _WIN32
    class PipeNotifier : public device::ChangeNotifier {
      public:
        PipeNotifier() {
            if (::pipe2(m_fds, O_NONBLOCK | O_CLOEXEC) != 0) {
                m_fds[0] = m_fds[1] = -1;
            }
        }
        ~PipeNotifier() override {
            ::close(m_fds[0]);
            ::close(m_fds[1]);
        }
        int fd() const override { return m_fds[0]; }
        void drain() override {
            char buffer[64];
            while (::read(m_fds[0], buffer, sizeof buffer) > 0) {
            }
        }
        int writeEnd() const { return m_fds[1]; }

      private:
        int m_fds[2];
    };
#endif

    void signal() {
#ifndef _WIN32
        std::lock_guard lock(m_mutex);
        for (int fd : m_writeEnds) {
            const char byte = 1;
            (void)!::write(fd, &byte, 1);
        }
#endif
    }

    const bool m_withNotifier;
    std::mutex m_mutex;
    std::vector<device::HidDeviceInfo> m_devices;
    std::set<std::string> m_locked;
    std::vector<int> m_writeEnds;
    int m_opens = 0;
};

inline device::HidDeviceInfo altimeter(std::uint16_t version = 0x0150,
                                       const std::string& path = "/dev/hidraw3") {
    return {path, 0x03DB, 2, version};
}
inline device::HidDeviceInfo bootloader(const std::string& path = "/dev/hidraw3") {
    return {path, 0x03DB, 1, 0x0110};
}

}  // namespace tevusb::ui::testing
