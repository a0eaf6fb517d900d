// SPDX-License-Identifier: MIT
#include "dialog_fixture.h"

#include <QAbstractButton>

#include "ui/dialog_host.h"

namespace tevusb::ui::dltest {

device::sim::SimConfig instantConfig(int flights) {
    device::sim::SimConfig config;
    config.flights = flights;
    config.timing = device::sim::SimTiming::instant();
    return config;
}

SimRig::SimRig(const device::sim::SimConfig& config)
    : backend(std::make_shared<device::sim::SimBackend>(config)),
      device(backend),
      m_previousPrompts(setUserPrompts(&prompts)) {
    surface.create(640, 360);
    graph.setClientSize(640, 360);
}

SimRig::~SimRig() {
    setUserPrompts(m_previousPrompts);
}

bool open(CBaseWindow& dialog, device::AltimeterDevice& device) {
    dialog.setDevice(&device);
    if (!dialog.create(nullptr)) {
        return false;
    }
    dialog.window()->show();
    return true;
}

bool enabled(CBaseWindow& dialog, int id) {
    const QWidget* w = dialog.item(id);
    return w != nullptr && w->isEnabled();
}

bool press(CBaseWindow& dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(dialog.item(id));
    if (button == nullptr || !button->isEnabled()) {
        return false;
    }
    button->click();
    return true;
}

bool closeDialog(CBaseWindow& dialog) {
    if (dialog.window() == nullptr) {
        return true;
    }
    dialog.sendMessage({Message::Close, 0, 0, {}});
    return waitUntil([&] { return !dialog.window()->isVisible(); });
}

}  // namespace tevusb::ui::dltest
