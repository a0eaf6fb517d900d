// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "graph/flight_graph.h"
#include "graph/surface/display_surface.h"
#include "support/wait.h"
#include "ui/base_window.h"
#include "ui/scripted_prompts.h"

namespace tevusb::ui::dltest {

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

// Builds and shows `dialog` on `device`; false if it could not be created.
bool open(CBaseWindow& dialog, device::AltimeterDevice& device);

using tevusb::testing::waitUntil;

// Clicks button `id` as the user would; false (and no click) when it is disabled.
bool press(CBaseWindow& dialog, int id);

bool enabled(CBaseWindow& dialog, int id);

// Ends `dialog` through its close protocol and waits until it has gone.
bool closeDialog(CBaseWindow& dialog);

}  // namespace tevusb::ui::dltest
