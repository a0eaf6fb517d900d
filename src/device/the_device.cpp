// SPDX-License-Identifier: MIT
#include <mutex>

#include "device/altimeter_device.h"

namespace tevusb::device {

namespace {

// Stands in when the program installed no backend: no altimeter is ever found, so every
// dialog reports a missing device instead of failing on a null backend.
class NoDeviceBackend final : public HidBackend {
  public:
    std::vector<HidDeviceInfo> enumerate() override { return {}; }
    std::unique_ptr<HidHandle> open(const std::string&) override { return nullptr; }
};

struct Instance {
    std::mutex mutex;
    std::function<std::shared_ptr<HidBackend>()> factory;
    AltimeterDevice* device = nullptr;
};

Instance& instance() {
    static Instance state;
    return state;
}

std::shared_ptr<HidBackend> makeBackend(const Instance& state) {
    std::shared_ptr<HidBackend> backend = state.factory ? state.factory() : nullptr;
    return backend ? backend : std::make_shared<NoDeviceBackend>();
}

}  // namespace

AltimeterDevice& theDevice() {
    static AltimeterDevice device([] {
        Instance& state = instance();
        std::lock_guard lock(state.mutex);
        return makeBackend(state);
    }());
    static const bool registered = [] {
        Instance& state = instance();
        std::lock_guard lock(state.mutex);
        state.device = &device;
        return true;
    }();
    (void)registered;
    return device;
}

void setDeviceBackendFactory(std::function<std::shared_ptr<HidBackend>()> factory) {
    Instance& state = instance();
    std::lock_guard lock(state.mutex);
    state.factory = std::move(factory);
    if (state.device != nullptr) {
        state.device->disconnect();
        state.device->link.setBackend(makeBackend(state));
    }
}

}  // namespace tevusb::device
