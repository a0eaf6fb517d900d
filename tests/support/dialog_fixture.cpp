// SPDX-License-Identifier: MIT
#include "support/dialog_fixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QWidget>

#include "ui/dialog_host.h"

namespace tevusb::ui::testing {

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

void DialogFixture::SetUp() {
    m_previousPrompts = setUserPrompts(&m_prompts);
}

void DialogFixture::TearDown() {
    setUserPrompts(m_previousPrompts);
}

void DialogFixture::makeBus(const device::sim::SimConfig& config) {
    m_backend = std::make_shared<device::sim::SimBackend>(config);
    m_device = std::make_unique<device::AltimeterDevice>(m_backend);
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
    return isEnabled(dialog.item(id));
}

bool press(CBaseWindow& dialog, int id) {
    QWidget* control = dialog.item(id);
    if (!isEnabled(control) || qobject_cast<QAbstractButton*>(control) == nullptr) {
        return false;
    }
    click(control);
    return true;
}

bool closeDialog(CBaseWindow& dialog) {
    if (dialog.window() == nullptr) {
        return true;
    }
    dialog.sendMessage({Message::Close, 0, 0, {}});
    return waitUntil([&] { return !dialog.window()->isVisible(); });
}

bool isEnabled(QWidget* control) {
    return control != nullptr && control->isEnabled();
}

bool isChecked(QWidget* control) {
    auto* button = qobject_cast<QAbstractButton*>(control);
    return button != nullptr && button->isChecked();
}

QString textOf(QWidget* control) {
    auto* edit = qobject_cast<QLineEdit*>(control);
    return edit != nullptr ? edit->text() : QString();
}

void setTextOf(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    }
}

void click(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->click();
    }
}

}  // namespace tevusb::ui::testing
