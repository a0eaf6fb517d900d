// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "device/hid_backend.h"

struct udev;
struct udev_monitor;

namespace tevusb::device {

// A libudev monitor on the hidraw subsystem, used only as a trigger: the watcher then
// compares the interfaces present with the ones it knew. It listens to udevd's events
// when udevd runs (the device node is ready by then), else to the kernel's.
class UdevNotifier final : public ChangeNotifier {
  public:
    // Null when no monitor can be set up (e.g. no netlink in a container).
    static std::unique_ptr<UdevNotifier> create();
    ~UdevNotifier() override;

    UdevNotifier(const UdevNotifier&) = delete;
    UdevNotifier& operator=(const UdevNotifier&) = delete;

    int fd() const override;
    void drain() override;

  private:
    UdevNotifier(udev* context, udev_monitor* monitor);

    udev* m_udev;
    udev_monitor* m_monitor;
};

}  // namespace tevusb::device
