// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <atomic>
#include <functional>

#include "device/operation.h"
#include "ui/base_window.h"

class QWidget;

namespace tevusb::ui {

// "Update Firmware": connects to the altimeter's bootloader, lets the user pick a
// firmware file and writes it on a worker, with the progress in tens of percent. Closing
// is refused while the update runs, and device arrivals and removals wait until it has
// ended: the link must stay as it is under a running update.
class CUpdateWindow : public CBaseWindow {
  public:
    explicit CUpdateWindow(QWidget* parent);
    // Closes the link: the bootloader is of no use to the other dialogs.
    ~CUpdateWindow() override;

    // Runs the dialog modally over the parent; returns when it has closed.
    int exec() { return show(m_parent); }

    bool handleMessage(const DialogMessage& message) override;

    // Connection icon; "Update..." only when connected and not busy, "Close" when not busy.
    void refreshControls(bool busy);
    // The bootloader-mode connect check, with its status lines.
    void connectBootloader();

    QString firmwarePath() const { return m_firmwarePath; }
    // True from "Update..." with a file until the worker has ended and the window
    // thread has heard of it.
    bool updating() const { return deviceChanges().busy(); }

    // The update's block steps, shown in tens of percent and on the bar; any thread.
    void progress(const device::Progress& step);
    // The last tens of percent shown, kept across updates of one run; tests reset it.
    static void resetShownProgress();

  private:
    void close();
    void addProgressBar();
    void startUpdate();
    int updateWorker();
    void workerEnded();
    void out(const std::string& entry);

    QWidget* m_parent;
    QString m_firmwarePath;
    // The percentage last handed to the window thread for the bar, so that only changes
    // are posted (an image has up to 1024 blocks).
    std::atomic<int> m_barPercent{-1};
};

}  // namespace tevusb::ui
