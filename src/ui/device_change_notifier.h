// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "device/device_watcher.h"

class QSocketNotifier;
class QWidget;

namespace tevusb::ui {

class DeviceChangeFilter;

// Brings device arrivals and removals into the window thread's event loop: the watcher's
// descriptor wakes it (on Windows: WM_DEVICECHANGE sent to `window`), a timer polls it
// anyway, and each event goes to `onEvent`.
class DeviceChangeNotifier : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void(const device::DeviceWatcher::Event&)>;

    DeviceChangeNotifier(std::shared_ptr<device::HidBackend> backend, Handler onEvent,
                         QWidget* window = nullptr);
    ~DeviceChangeNotifier() override;

    // Looks for changes now (the descriptor and the timer call it too).
    void check();

  private:
    device::DeviceWatcher m_watcher;
    Handler m_onEvent;
    QSocketNotifier* m_socket = nullptr;
    QTimer m_timer;
#if defined(_WIN32)
    std::unique_ptr<DeviceChangeFilter> m_systemMessages;
#endif
};

}  // namespace tevusb::ui
