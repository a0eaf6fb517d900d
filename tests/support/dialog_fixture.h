// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>

#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "graph/flight_graph.h"
#include "graph/surface/display_surface.h"
#include "support/log_capture.h"
#include "support/wait.h"
#include "ui/base_window.h"
#include "ui/scripted_prompts.h"

class QWidget;

namespace tevusb::ui::testing {

using tevusb::testing::LogCapture;
using tevusb::testing::waitUntil;

// A simulated altimeter with `flights` flights that answers without delay.
device::sim::SimConfig instantConfig(int flights = 3);

// Everything a dialog test needs: the simulated bus and altimeter, a device object of its
// own, the main window's buffer and graph, and a scripted user.
struct SimRig {
    explicit SimRig(const device::sim::SimConfig& config = instantConfig());
    ~SimRig();
    SimRig(const SimRig&) = delete;
    SimRig& operator=(const SimRig&) = delete;

    device::sim::SimAltimeter& sim() { return backend->altimeter(); }

    std::shared_ptr<device::sim::SimBackend> backend;
    device::AltimeterDevice device;
    surface::DisplaySurface surface;
    graph::FlightGraph graph{device.store, surface};
    ScriptedPrompts prompts;

  private:
    UserPrompts* m_previousPrompts;
};

// The same rig as a test fixture whose bus a test builds when it has chosen the
// simulator's configuration, with the diagnostic lines captured.
class DialogFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the bus; call before the dialog is created.
    void makeBus(const device::sim::SimConfig& config);
    static device::sim::SimConfig instant() { return instantConfig(); }

    device::sim::SimAltimeter& sim() { return m_backend->altimeter(); }

    std::shared_ptr<device::sim::SimBackend> m_backend;
    std::unique_ptr<device::AltimeterDevice> m_device;
    ScriptedPrompts m_prompts;
    LogCapture m_log;

  private:
    UserPrompts* m_previousPrompts = nullptr;
};

// Builds and shows `dialog` on `device`; false if it could not be created.
bool open(CBaseWindow& dialog, device::AltimeterDevice& device);

// Clicks button `id` as the user would; false (and no click) when it is disabled.
bool press(CBaseWindow& dialog, int id);
bool enabled(CBaseWindow& dialog, int id);

// Ends `dialog` through its close protocol and waits until it has gone.
bool closeDialog(CBaseWindow& dialog);

// A control's state and text, and a click on it, for tests that hold the control itself.
bool isEnabled(QWidget* control);
bool isChecked(QWidget* control);
QString textOf(QWidget* control);
void setTextOf(QWidget* control, const QString& text);
void click(QWidget* control);

}  // namespace tevusb::ui::testing
