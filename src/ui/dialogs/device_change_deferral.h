#pragma once

#include <vector>

#include "ui/dialog_message.h"

namespace tevusb::ui {

// Holds back the device arrivals and removals that come in while a dialog's worker talks
// to the device: reconnecting or closing the link under a running transfer would pull it
// away from the worker. A removed device still fails the worker, through its time-outs;
// the held-back changes are handled in order once the worker has ended.
// Window thread only.
class DeviceChangeDeferral {
  public:
    void setBusy(bool busy) { m_busy = busy; }
    bool busy() const { return m_busy; }

    // True when `message` was kept for later (a device change while busy).
    bool defer(const DialogMessage& message);
    // The kept changes, oldest first; the list is empty afterwards.
    std::vector<DialogMessage> takeDeferred();

  private:
    bool m_busy = false;
    std::vector<DialogMessage> m_deferred;
};

}  // namespace tevusb::ui
