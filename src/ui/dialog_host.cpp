// SPDX-License-Identifier: MIT
#include "ui/dialog_host.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>

namespace tevusb::ui {

DialogHost::DialogHost(QWidget* owner, Router router)
    : QDialog(owner), m_router(std::move(router)) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void DialogHost::connectButtons() {
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        bool ok = false;
        const int id = button->objectName().toInt(&ok);
        if (!ok || id <= 0) {
            continue;
        }
        connect(button, &QAbstractButton::clicked, this, [this, id] {
            m_router({Message::Command, static_cast<std::uintptr_t>(id), 0, {}});
        });
    }
}

void DialogHost::endDialog(int result) {
    m_ending = true;
    done(result);
}

void DialogHost::reject() {
    // Whatever asks the dialog to go away asks through its handler.
    m_router({Message::Close, 0, 0, {}});
}

void DialogHost::keyPressEvent(QKeyEvent* event) {
    std::uintptr_t key = 0;
    std::uintptr_t command = 0;
    switch (event->key()) {
        case Qt::Key_Escape:
            key = kKeyEscape;
            command = kIdCancel;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = kKeyReturn;
            command = kIdOk;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
    if (!m_router({Message::KeyDown, key, 0, {}})) {
        // Not handled as a key: the dialog manager's own command, which dialogs may ignore.
        m_router({Message::Command, command, 0, {}});
    }
}

void DialogHost::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        event->accept();
        return;
    }
    event->ignore();
    m_router({Message::Close, 0, 0, {}});
}

}  // namespace tevusb::ui
