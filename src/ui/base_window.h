// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "device/connect_operations.h"
#include "device/operation.h"
#include "ui/anchor_layout.h"
#include "ui/device_change_deferral.h"
#include "ui/dialog_window.h"
#include "ui/group_box_record.h"
#include "ui/status_buffer.h"
#include "ui/user_prompts.h"
#include "ui/worker_thread.h"

class QWidget;

namespace tevusb::device {
class AltimeterDevice;
class HidBackend;
}  // namespace tevusb::device

namespace tevusb::ui {

class DeviceChangeNotifier;

// What every dialog of the program shares: the light-blue look with owner-drawn group
// boxes, the anchored layout, the status box with its buffer, the worker thread and its
// close protocol, and the message boxes.
class CBaseWindow : public CDialogWindow {
  public:
    explicit CBaseWindow(int resourceId);
    ~CBaseWindow() override;

    // Replaces the group box `id` by an owner-drawn frame with the same place and caption;
    // returns the frame (to be anchored like any control), or null if there is no such box.
    QWidget* replaceGroupBox(int id);
    // The control with id `id`, or null.
    QWidget* item(int id) const;
    // The dialog's size in pixels.
    int windowWidth() const;
    int windowHeight() const;

    // String-table message boxes owned by the dialog, with the error or warning icon.
    // Callable from the worker, which then waits for the user's answer.
    MessageResult showError(int stringId);
    MessageResult showWarning(int stringId);

    // Appends to the status buffer and has the status box show it; any thread.
    void appendStatus(const QString& text);
    void appendStatus(std::wstring_view text);
    QString statusText() const { return m_status.text(); }
    // An extra line the status box shows after every status line (what to try next), kept
    // apart from the buffer so the status lines themselves stay as they are; "" for none.
    // Window thread.
    void setStatusHint(const QString& hint);
    QString statusHint() const { return m_statusHint; }

    // The handling every dialog ends in for messages it does not handle itself.
    bool defaultHandler(const DialogMessage& message);

    // The device the dialog works with: the program's one altimeter unless a test set
    // another.
    device::AltimeterDevice& device() const;
    void setDevice(device::AltimeterDevice* device) { m_device = device; }

    QColor backgroundBrush() const { return m_backgroundBrush; }
    const std::vector<std::unique_ptr<GroupBoxRecord>>& groupBoxes() const { return m_groupBoxes; }
    AnchorLayout* layout() const { return m_layout.get(); }
    WorkerThread& worker() { return m_worker; }
    // Where the dialog's device changes wait while its device operation runs.
    DeviceChangeDeferral& deviceChanges() { return m_changes; }
    const DeviceChangeDeferral& deviceChanges() const { return m_changes; }

  protected:
    // Creates the anchor layout with the dialog's present size as its minimum.
    void createLayout();
    // Anchors control `id` (flags top, left, bottom, right); false if there is none.
    bool anchor(int id, bool top, bool left, bool bottom, bool right);
    // Replaces group box `id` and anchors the frame.
    bool anchorGroupBox(int id, bool top, bool left, bool bottom, bool right);
    // The status refresh: the status box (id 1003) shows the whole buffer, scrolled down.
    void refreshStatus();
    // Shows the connection icon (connected or not) in the icon control `id`.
    void setConnectionIcon(int id, bool connected);

    // Has every arrival and removal of a HID interface delivered as a DeviceChange message,
    // for as long as the dialog lives. Without a backend, the device's own.
    void registerDeviceNotifications(std::shared_ptr<device::HidBackend> backend = nullptr);
    // The common device-change handling: logs it; an arrival runs `connectCheck`; the
    // removal of the device the link uses closes the link and says so; then `refresh`.
    // While the worker runs, an arrival's check waits until the worker has ended (it would
    // reopen the link under the transfer), and `refresh` is told the dialog is busy.
    // Dialogs that skip the check in some state (e.g. closing) test it in `connectCheck`.
    void handleDeviceChange(const DialogMessage& message, const std::function<void()>& connectCheck,
                            const std::function<void(bool)>& refresh);
    // The application-mode connect check on this dialog's device; what it found.
    device::Operation<device::ConnectInfo> connectCheck();

    // Starts `routine` as the dialog's worker; false while one still runs.
    bool startWorker(std::function<int()> routine);
    // What a worker hands a device operation: a progress callback that shows each status
    // entry in the status box as it comes (and gives every other report to `steps`), and
    // the worker's cancel flag, which a dialog's close sets. Any thread.
    device::ProgressCallback statusProgress(device::ProgressCallback steps = {});
    device::CancelFlag operationCancel() const { return m_worker.cancelFlag(); }
    // The backstop for a dialog destroyed without its close protocol, for its destructor:
    // the worker uses the dialog, so it must end first. A running one is asked to stop; the calls
    // it may be waiting for on this thread are delivered; after the first step the link is closed,
    // so a transfer in flight fails at once. Each step is the close protocol's 100 ms, at most
    // kEndWorkerSteps of them; false (and logged) if it still runs.
    static constexpr int kEndWorkerSteps = 50;
    bool endWorkerBeforeDestruction();
    // A dialog's close: asks the running operation to stop (the worker's flag and the
    // device's own request).
    void cancelOperation();
    // The close protocol after a dialog's own first steps: waits up to 100 ms for the
    // worker; ends the dialog if it has ended, else logs `repostLine` and posts Close again.
    // True when the dialog ended.
    bool closeWhenWorkerEnded(std::string_view repostLine);

    std::unique_ptr<AnchorLayout> m_layout;
    QColor m_statusBrush{255, 255, 255};
    WorkerThread m_worker;
    StatusBuffer m_status;

  private:
    device::AltimeterDevice* m_device = nullptr;
    QString m_statusHint;
    DeviceChangeDeferral m_changes{[this] { return m_worker.running(); }};
    std::unique_ptr<DeviceChangeNotifier> m_deviceNotifier;
    std::vector<std::unique_ptr<GroupBoxRecord>> m_groupBoxes;
    QColor m_backgroundBrush;
};

}  // namespace tevusb::ui
