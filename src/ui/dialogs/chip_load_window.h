// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/device_settings.h"
#include "ui/base_window.h"

class QWidget;

namespace tevusb::graph {
class FlightGraph;
}

namespace tevusb::ui {

// "Program Chip": reads, edits and writes the altimeter's settings and calibrates its
// pressure sensor against a known ground altitude. Writing and calibrating clear the
// device's flight memory, so the program's own flight data is emptied first.
// The workers never touch a control: what they show is handed to the window thread, and
// the warnings of storeSettings are asked there while the worker waits for the answer.
class CChipLoadWindow : public CBaseWindow {
  public:
    // `graph` (may be null) is redrawn after the settings changed.
    CChipLoadWindow(QWidget* parent, graph::FlightGraph* graph);
    ~CChipLoadWindow() override;

    // Runs the dialog modally over the parent; returns when it has closed.
    int exec() { return show(m_parent); }

    bool handleMessage(const DialogMessage& message) override;

    // Fills the controls from `settings` (window thread).
    void displaySettings(const settings::DeviceSettings& settings);
    // Reads the controls into the device's record and asks about a long inhibit time, a
    // disabled line and settings a flyer rarely means (window thread). False when the
    // flyer answered No to one: the record is then left as it was and nothing is written.
    bool storeSettings();
    // Every enabled value field holds a number its setting can store; otherwise says
    // which, with the range allowed, and returns false (window thread).
    bool checkFields();
    // Connection icon, and the three device buttons enabled when connected and not busy.
    void refreshControls(bool busy);

    // True from a button's start of a worker until the window thread heard it ended.
    bool busy() const { return deviceChanges().busy(); }
    // The ground altitude taken when Calibrate Device was last pressed.
    std::int32_t groundAltitude() const { return m_groundAltitude; }

  private:
    void initDialog();
    void command(int id);
    void startDeviceWorker(std::function<int()> routine);
    void workerEnded();

    int readWorker();
    // Stores the controls (asking the warnings), checks the altimeter's memory for flights
    // not in the library, then writes.
    int writeRoutine();
    int calibrateWorker();
    // storeSettings asked from the worker, which waits for the answer.
    bool storeSettingsFromWorker();
    // After a write: the device needs a moment; then the controls show what it holds.
    void settleAfterWrite();

    // Worker-side helpers: each hands its work to the window thread.
    void out(const std::string& entry);
    void post(std::function<void()> task);
    void showSettingsLater(const settings::DeviceSettings& settings);
    void redrawGraph();

    void setInt(int id, unsigned value);
    unsigned getInt(int id, bool* translated) const;
    std::string textOf(int id) const;
    void setEnabled(int id, bool enabled);
    void setChecked(int id, bool checked);
    bool isChecked(int id) const;

    QWidget* m_parent;
    graph::FlightGraph* m_graph;
    std::int32_t m_groundAltitude = 0;
};

}  // namespace tevusb::ui
