// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "analysis/emulation_recorder.h"
#include "ui/base_window.h"

class QWidget;

namespace tevusb::graph {
class FlightGraph;
}

namespace tevusb::ui {

// "Control Options": drives the device directly. Replays the flight shown in the main
// window into the altimeter (launch emulation), reads the pressure sensor and the
// battery, and fires both ejection lines for two seconds after the user confirms.
class CControlOptionsWindow : public CBaseWindow {
  public:
    // `graph` is the main window's (redrawn after a pressure read); it may be null.
    CControlOptionsWindow(QWidget* parent, graph::FlightGraph* graph);
    ~CControlOptionsWindow() override;

    // Runs the dialog modally over the parent given at construction.
    int exec();

    bool handleMessage(const DialogMessage& message) override;

    // Sets the buttons from the connection and the busy state; nothing once closing.
    void refreshControls(bool busy);
    bool closing() const { return m_closing; }

    // Each emulation that ends while the dialog stays open is reported: the report window
    // opens (in the units of the graph), its events become markers of the graph's analysis
    // view until another flight is shown, and `listener` (if set) gets the report.
    using ReportListener = std::function<void(const analysis::EmulationReport&)>;
    void setReportListener(ReportListener listener) { m_reportListener = std::move(listener); }

  private:
    void initialise();
    void emulate();
    void readPressure();
    void readBattery();
    void fireLines();
    void close();
    void deviceChange(const DialogMessage& message);

    // Runs `body` as the worker, between the busy and the idle state of the controls,
    // after making sure the link is open.
    // `afterIdle` runs on the window thread once the controls are idle again, when the
    // body succeeded.
    void startDeviceWorker(std::function<int()> body, std::function<void()> afterIdle = {});
    void status(const std::string& entry);
    void postRefresh(bool busy);
    // On the worker, after the emulation: builds the report and posts it to the window.
    void reportEmulation(bool succeeded);

    QWidget* m_parent;
    graph::FlightGraph* m_graph;
    // The window thread's own answer to "is there a flight to replay", taken when idle,
    // so refreshing never reads the set while a worker uses it.
    bool m_hasFlight = false;
    bool m_closing = false;
    // Filled by the worker during an emulation, read by it afterwards.
    analysis::EmulationRecorder m_recorder;
    ReportListener m_reportListener;
};

}  // namespace tevusb::ui
