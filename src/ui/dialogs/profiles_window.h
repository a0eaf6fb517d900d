// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <vector>

#include "analysis/profile_differences.h"
#include "analysis/units.h"
#include "device/profile_apply.h"
#include "settings/rocket_profile.h"
#include "ui/worker_thread.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tevusb::ui {

class LibraryService;
class ProfileForm;

// Tools > "Rocket Profiles...": the rocket profiles of the flight library, kept, renamed,
// duplicated and deleted here, made from the connected altimeter, and applied to it with
// the differences shown line by line before anything is written.
class ProfilesWindow : public QDialog {
    Q_OBJECT
  public:
    ProfilesWindow(LibraryService& service, analysis::UnitSystem units, QWidget* parent = nullptr);
    ~ProfilesWindow() override;

    // Opens the library on the worker, then fills the list and shows the window.
    void start();
    // Loads the list from the opened library.
    void reload(const QString& select = {});
    bool busy() const { return m_worker.running(); }
    // Follows View > Units: the form's altitudes (and a later apply) in `units`.
    void setUnits(analysis::UnitSystem units);
    // What "Flights of This Rocket" opens: the library's flights of that rocket name.
    void setFlightsOpener(std::function<void(const QString&)> open) {
        m_openFlights = std::move(open);
    }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void selectProfile();
    void newProfile();
    void duplicateProfile();
    void renameProfile();
    void deleteProfile();
    bool saveProfile();
    void newFromAltimeter();
    void applyToAltimeter();
    void showDifferences(const std::vector<analysis::SettingDifference>& differences);
    void applied(const device::Operation<device::ProfileApplied>& result);
    void setBusy(bool busy);
    void say(const QString& text);

    LibraryService& m_service;
    analysis::UnitSystem m_units;
    QListWidget* m_list = nullptr;
    ProfileForm* m_form = nullptr;
    QListWidget* m_differences = nullptr;
    QLabel* m_status = nullptr;
    std::vector<QPushButton*> m_buttons;
    std::function<void(const QString&)> m_openFlights;
    std::atomic<bool> m_cancel{false};
    WorkerThread m_worker{this};
};

}  // namespace tevusb::ui
