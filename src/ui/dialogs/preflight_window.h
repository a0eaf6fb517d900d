// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <optional>

#include "analysis/units.h"
#include "device/preflight.h"
#include "ui/worker_thread.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tevusb::ui {

class LibraryService;

// Tools > "Pre-flight Check...": the altimeter checked against a rocket profile, with a
// go / no-go banner that says it in words as well as colour, the items under it, and the
// fixes that can be made here: apply the profile, download the flights, clear the memory
// (offered only when every flight on it is in the library).
class PreflightWindow : public QDialog {
    Q_OBJECT
  public:
    PreflightWindow(LibraryService& service, analysis::UnitSystem units, QWidget* parent = nullptr);
    ~PreflightWindow() override;

    // What "Download Flights" opens: the Download Data dialog.
    void setDownloadOpener(std::function<void()> open) { m_openDownload = std::move(open); }
    // Opens the library on the worker, fills the profile list and shows the window.
    void start();
    // Runs the check against the chosen profile.
    void check();
    bool busy() const { return m_worker.running(); }
    const std::optional<device::Operation<device::PreflightCheck>>& result() const {
        return m_result;
    }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void fillProfiles();
    void showResult(const device::Operation<device::PreflightCheck>& result);
    void applyProfile();
    void clearMemory();
    void setBusy(bool busy);
    void say(const QString& text);
    std::optional<settings::RocketProfile> chosenProfile();

    LibraryService& m_service;
    analysis::UnitSystem m_units;
    QComboBox* m_profiles = nullptr;
    QPushButton* m_check = nullptr;
    QLabel* m_banner = nullptr;
    QTableWidget* m_items = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_clear = nullptr;
    QLabel* m_status = nullptr;
    std::function<void()> m_openDownload;
    std::optional<device::Operation<device::PreflightCheck>> m_result;
    bool m_libraryReadable = false;
    std::atomic<bool> m_cancel{false};
    WorkerThread m_worker{this};
};

}  // namespace tevusb::ui
