// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace tevusb::device {

// Initialises hidapi. Call it once at start-up, before any other thread runs (hidapi's own
// rule); later calls do nothing. False when hidapi could not be initialised.
bool initHidapi();

// HID interfaces through hidapi (its hidraw backend on Linux). hidapi is not thread-safe:
// every enumerate, open and close runs under one process-wide lock, and an opened handle
// is used by one thread at a time (HidLink's transfer thread). Change notifications come
// from a libudev monitor on the hidraw subsystem when built with udev, else none (the
// watcher's periodic diff).
class HidapiBackend final : public HidBackend {
  public:
    // Calls initHidapi() in case the program has not yet.
    HidapiBackend();

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::unique_ptr<ChangeNotifier> createNotifier() override;
};

}  // namespace tevusb::device
