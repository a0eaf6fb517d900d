// SPDX-License-Identifier: MIT
#include "device/hidapi_backend.h"

#include <hidapi.h>

#include <mutex>
#include <unordered_set>

#if defined(TEVUSB_HAVE_UDEV)
#include "device/udev_notifier.h"
#endif

namespace tevusb::device {

namespace {

// Never destroyed: the program-wide device object closes its handle during static
// destruction, possibly after a function-local mutex would already be gone.
std::mutex& hidapiMutex() {
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

// hid_write has no time limit of its own (the kernel gives up after about 5 s); HidLink
// runs every transfer on its transfer thread with its own deadline, so an overrun here
// delays only that thread.
class HidapiHandle final : public HidHandle {
  public:
    explicit HidapiHandle(hid_device* device) : m_device(device) {}
    ~HidapiHandle() override {
        std::lock_guard lock(hidapiMutex());
        hid_close(m_device);
    }
    HidapiHandle(const HidapiHandle&) = delete;
    HidapiHandle& operator=(const HidapiHandle&) = delete;

    int write(const std::uint8_t* data, std::size_t length, int) override {
        return hid_write(m_device, data, length);
    }
    int read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        // A negative limit means "wait for ever" to hidapi; never ask for that.
        return hid_read_timeout(m_device, data, length, timeoutMs < 0 ? 0 : timeoutMs);
    }

  private:
    hid_device* m_device;
};

}  // namespace

bool initHidapi() {
    static const bool ok = [] {
        std::lock_guard lock(hidapiMutex());
        return hid_init() == 0;
    }();
    return ok;
}

HidapiBackend::HidapiBackend() {
    initHidapi();
}

std::vector<HidDeviceInfo> HidapiBackend::enumerate() {
    std::vector<HidDeviceInfo> list;
    if (!initHidapi()) {
        return list;
    }
    std::lock_guard lock(hidapiMutex());
    hid_device_info* all = hid_enumerate(0, 0);
    std::unordered_set<std::string> seen;
    for (const hid_device_info* it = all; it != nullptr; it = it->next) {
        // One entry per top-level collection: the interface is still one path.
        if (it->path == nullptr || !seen.insert(it->path).second) {
            continue;
        }
        list.push_back(HidDeviceInfo{it->path, it->vendor_id, it->product_id, it->release_number});
    }
    hid_free_enumeration(all);
    return list;
}

std::unique_ptr<HidHandle> HidapiBackend::open(const std::string& path) {
    if (!initHidapi()) {
        return nullptr;
    }
    std::lock_guard lock(hidapiMutex());
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        return nullptr;
    }
    return std::make_unique<HidapiHandle>(device);
}

std::unique_ptr<ChangeNotifier> HidapiBackend::createNotifier() {
#if defined(TEVUSB_HAVE_UDEV)
    return UdevNotifier::create();
#else
    // No system source of hot-plug events: the watcher's periodic diff finds changes.
    return nullptr;
#endif
}

}  // namespace tevusb::device
