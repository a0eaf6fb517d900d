// SPDX-License-Identifier: MIT
#include "fake_hid_backend.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace tevusb::device::test {

namespace {

// Counts callers inside a handle, to catch one used by two threads at once.
class Inside {
  public:
    Inside(FakeDevice& device, std::atomic<int>& handleInside)
        : m_device(device), m_handleInside(handleInside) {
        ++m_device.inside;
        if (++m_handleInside > 1) {
            ++m_device.concurrentUse;
        }
    }
    ~Inside() {
        --m_handleInside;
        --m_device.inside;
    }
    Inside(const Inside&) = delete;
    Inside& operator=(const Inside&) = delete;

  private:
    FakeDevice& m_device;
    std::atomic<int>& m_handleInside;
};

class FakeHandle final : public HidHandle {
  public:
    explicit FakeHandle(std::shared_ptr<FakeDevice> device) : m_device(std::move(device)) {
        ++m_device->liveHandles;
    }
    ~FakeHandle() override { --m_device->liveHandles; }
    int write(const std::uint8_t* data, std::size_t length, int) override {
        Inside inside(*m_device, m_inside);
        return m_device->write(data, length);
    }
    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        Inside inside(*m_device, m_inside);
        return m_device->read(data, length, timeoutMs);
    }

  private:
    std::shared_ptr<FakeDevice> m_device;
    std::atomic<int> m_inside{0};
};

}  // namespace

void FakeDevice::send(Report payload) {
    std::lock_guard lock(m_mutex);
    m_input.push_back(std::move(payload));
    m_changed.notify_all();
}

void FakeDevice::setResponder(std::function<void(FakeDevice&, const Report&)> responder) {
    std::lock_guard lock(m_mutex);
    m_responder = std::move(responder);
}

std::vector<Report> FakeDevice::written() const {
    std::lock_guard lock(m_mutex);
    return m_written;
}

void FakeDevice::releaseWrites() {
    std::lock_guard lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
}

bool FakeDevice::waitUntilWriteHangs(int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return m_hanging; });
}

int FakeDevice::read(std::uint8_t* data, std::size_t length, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                       [this] { return !m_input.empty() || readFails; });
    if (readFails) {
        return -1;
    }
    if (m_input.empty()) {
        return 0;
    }
    Report report = std::move(m_input.front());
    m_input.pop_front();
    const std::size_t n = std::min(length, report.size());
    std::memcpy(data, report.data(), n);
    return static_cast<int>(n);
}

int FakeDevice::write(const std::uint8_t* data, std::size_t length) {
    std::function<void(FakeDevice&, const Report&)> responder;
    Report report(data, data + length);
    {
        std::unique_lock lock(m_mutex);
        if (writeHangs) {
            m_hanging = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_released; });
            m_hanging = false;
        }
    }
    if (writeDelayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(writeDelayMs.load()));
    }
    {
        std::lock_guard lock(m_mutex);
        m_written.push_back(report);
        responder = m_responder;
    }
    if (responder) {
        responder(*this, report);
    }
    return static_cast<int>(length);
}

void FakeHidBackend::setInterfaces(std::vector<HidDeviceInfo> list) {
    std::lock_guard lock(m_mutex);
    m_interfaces = std::move(list);
}

void FakeHidBackend::attach(const std::string& path, std::shared_ptr<FakeDevice> device) {
    std::lock_guard lock(m_mutex);
    m_devices.emplace_back(path, std::move(device));
}

void FakeHidBackend::setNotifierSupport(bool on) {
    std::lock_guard lock(m_mutex);
    m_notifierSupport = on;
}

void FakeHidBackend::notifyChange() {
    m_changes.notify();
}

std::vector<HidDeviceInfo> FakeHidBackend::enumerate() {
    std::lock_guard lock(m_mutex);
    return m_interfaces;
}

std::unique_ptr<HidHandle> FakeHidBackend::open(const std::string& path) {
    std::unique_ptr<HidHandle> handle;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [devicePath, device] : m_devices) {
            if (devicePath == path) {
                ++m_opens;
                handle = std::make_unique<FakeHandle>(device);
                break;
            }
        }
    }
    if (handle && duringOpen) {
        duringOpen();
    }
    return handle;
}

std::unique_ptr<ChangeNotifier> FakeHidBackend::createNotifier() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_notifierSupport) {
            return nullptr;
        }
    }
    return m_changes.createNotifier();
}

bool readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN) != 0;
}

}  // namespace tevusb::device::test
