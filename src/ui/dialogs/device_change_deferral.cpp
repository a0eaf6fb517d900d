#include "ui/dialogs/device_change_deferral.h"

#include <utility>

#include "log/diagnostic_log.h"

namespace tevusb::ui {

bool DeviceChangeDeferral::defer(const DialogMessage& message) {
    if (!m_busy || message.message != Message::DeviceChange) {
        return false;
    }
    log::logLine("Device change held until the device operation ends.");
    m_deferred.push_back(message);
    return true;
}

std::vector<DialogMessage> DeviceChangeDeferral::takeDeferred() {
    return std::exchange(m_deferred, {});
}

}  // namespace tevusb::ui
