// SPDX-License-Identifier: MIT
#include "device/udev_notifier.h"

#include <libudev.h>
#include <poll.h>
#include <unistd.h>

namespace tevusb::device {

namespace {

// udevd's control socket exists exactly when udevd runs.
bool udevdRuns() {
    return ::access("/run/udev/control", F_OK) == 0;
}

// Bound on the events consumed by one drain, against a flood.
constexpr int kMaxEventsPerDrain = 1024;

}  // namespace

std::unique_ptr<UdevNotifier> UdevNotifier::create() {
    udev* context = udev_new();
    if (context == nullptr) {
        return nullptr;
    }
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, udevdRuns() ? "udev" : "kernel");
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0 || udev_monitor_get_fd(monitor) < 0) {
        if (monitor != nullptr) {
            udev_monitor_unref(monitor);
        }
        udev_unref(context);
        return nullptr;
    }
    return std::unique_ptr<UdevNotifier>(new UdevNotifier(context, monitor));
}

UdevNotifier::UdevNotifier(udev* context, udev_monitor* monitor)
    : m_udev(context), m_monitor(monitor) {}

UdevNotifier::~UdevNotifier() {
    udev_monitor_unref(m_monitor);
    udev_unref(m_udev);
}

int UdevNotifier::fd() const {
    return udev_monitor_get_fd(m_monitor);
}

void UdevNotifier::drain() {
    pollfd p{fd(), POLLIN, 0};
    for (int i = 0; i<kMaxEventsPerDrain&& ::poll(&p, 1, 0)> 0 && (p.revents & POLLIN); ++i) {
        // Only a trigger: what changed is read from the enumeration afterwards.
        udev_device* device = udev_monitor_receive_device(m_monitor);
        if (device != nullptr) {
            udev_device_unref(device);
        }
    }
}

}  // namespace tevusb::device
