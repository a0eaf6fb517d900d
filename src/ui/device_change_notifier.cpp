// SPDX-License-Identifier: MIT
#include "ui/device_change_notifier.h"

#include <QSocketNotifier>

#if defined(_WIN32)
#include <QCoreApplication>
#include <QWidget>

#include "ui/device_change_filter_win.h"
#endif

namespace tevusb::ui {

DeviceChangeNotifier::DeviceChangeNotifier(std::shared_ptr<device::HidBackend> backend,
                                           Handler onEvent, [[maybe_unused]] QWidget* window)
    : m_watcher(std::move(backend)), m_onEvent(std::move(onEvent)) {
    // What is attached now is the starting point, not a change.
    m_watcher.poll();
    if (m_watcher.fd() >= 0) {
        m_socket = new QSocketNotifier(m_watcher.fd(), QSocketNotifier::Read, this);
        connect(m_socket, &QSocketNotifier::activated, this, &DeviceChangeNotifier::check);
    }
#if defined(_WIN32)
    // Looked at once the system's message has been handled, not inside its window procedure.
    m_systemMessages = std::make_unique<DeviceChangeFilter>(
        window != nullptr ? reinterpret_cast<void*>(window->winId()) : nullptr, [this] {
            QMetaObject::invokeMethod(this, &DeviceChangeNotifier::check, Qt::QueuedConnection);
        });
    QCoreApplication::instance()->installNativeEventFilter(m_systemMessages.get());
#endif
    connect(&m_timer, &QTimer::timeout, this, &DeviceChangeNotifier::check);
    m_timer.start(m_watcher.fallbackIntervalMs());
}

DeviceChangeNotifier::~DeviceChangeNotifier() {
#if defined(_WIN32)
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(m_systemMessages.get());
    }
#endif
}

void DeviceChangeNotifier::check() {
    for (const auto& event : m_watcher.poll()) {
        if (m_onEvent) {
            m_onEvent(event);
        }
    }
}

}  // namespace tevusb::ui
