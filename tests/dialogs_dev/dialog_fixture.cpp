// SPDX-License-Identifier: MIT
#include "dialog_fixture.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QWidget>

#include "log/diagnostic_log.h"

namespace tevusb::ui::testing {

LockedLog::LockedLog() : m_previous(log::DiagnosticLog::instance().setSink(&m_stream)) {}

LockedLog::~LockedLog() {
    log::DiagnosticLog::instance().setSink(m_previous);
}

std::string LockedBuffer::text() const {
    std::lock_guard lock(m_mutex);
    return m_text;
}

LockedBuffer::int_type LockedBuffer::overflow(int_type c) {
    if (c != traits_type::eof()) {
        std::lock_guard lock(m_mutex);
        m_text.push_back(static_cast<char>(c));
    }
    return traits_type::not_eof(c);
}

std::streamsize LockedBuffer::xsputn(const char* s, std::streamsize n) {
    std::lock_guard lock(m_mutex);
    m_text.append(s, static_cast<std::size_t>(n));
    return n;
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

device::sim::SimConfig DialogFixture::instant() {
    device::sim::SimConfig config;
    config.timing = device::sim::SimTiming::instant();
    return config;
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

void saveShot(QWidget* window, const QString& name) {
    QDir().mkpath(QStringLiteral(TEVUSB_SHOTS_DIR));
    window->grab().save(QStringLiteral(TEVUSB_SHOTS_DIR "/") + name + QStringLiteral(".png"));
}

}  // namespace tevusb::ui::testing
