// SPDX-License-Identifier: MIT
#include "ui/device_change_notifier.h"

#include <QSocketNotifier>

namespace tevusb::ui {

DeviceChangeNotifier::DeviceChangeNotifier(std::shared_ptr<device::HidBackend> backend,
                                           Handler onEvent)
    : m_watcher(std::move(backend)), m_onEvent(std::move(onEvent)) {
    // What is attached now is the starting point, not a change.
    m_watcher.poll();
    if (m_watcher.fd() >= 0) {
        m_socket = new QSocketNotifier(m_watcher.fd(), QSocketNotifier::Read, this);
        connect(m_socket, &QSocketNotifier::activated, this, &DeviceChangeNotifier::check);
    }
    connect(&m_timer, &QTimer::timeout, this, &DeviceChangeNotifier::check);
    m_timer.start(m_watcher.fallbackIntervalMs());
}

DeviceChangeNotifier::~DeviceChangeNotifier() = default;

void DeviceChangeNotifier::check() {
    for (const auto& event : m_watcher.poll()) {
        if (m_onEvent) {
            m_onEvent(event);
        }
    }
}

}  // namespace tevusb::ui
