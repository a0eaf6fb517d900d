// SPDX-License-Identifier: MIT
#include "ui/dialog_window.h"

#include <QCoreApplication>

#include "ui/dialog_look.h"
#include "ui/dialog_templates.h"
#include "ui/resource_images.h"
#include "ui/window_thread_call.h"

namespace tevusb::ui {

CDialogWindow::CDialogWindow(int resourceId)
    : m_resourceId(static_cast<std::uint32_t>(resourceId)),
      m_mailbox(std::make_unique<QObject>()) {}

CDialogWindow::~CDialogWindow() {
    // The handler belongs to a derived part that is gone by now: route nothing more.
    m_initialised = false;
    m_mailbox.reset();
    delete m_window.data();
}

bool CDialogWindow::create(QWidget* owner) {
    const DialogTemplate* tmpl =
        m_template != nullptr ? m_template : findDialogTemplate(static_cast<int>(m_resourceId));
    if (tmpl == nullptr) {
        return false;
    }
    delete m_window.data();
    m_initialised = false;
    m_window = new DialogHost(owner, [this](const DialogMessage& m) { return route(m); });
    m_window->setWindowIcon(programIcon());
    applyDialogLook(m_window);
    buildDialog(m_window, *tmpl);
    m_window->connectButtons();
    m_initialised = true;
    route({Message::InitDialog, 0, 0, {}});
    return true;
}

int CDialogWindow::show(QWidget* owner) {
    if (!create(owner)) {
        return -1;
    }
    return m_window->exec();
}

bool CDialogWindow::route(const DialogMessage& message) {
    // Nothing reaches the handler before initialisation.
    if (!m_initialised || !m_window) {
        return message.message == Message::InitDialog;
    }
    try {
        return handleMessage(message);
    } catch (...) {
        // A failing handler must not take the whole program down; the dialog goes on.
        return message.message == Message::InitDialog;
    }
}

void CDialogWindow::postMessage(const DialogMessage& message) {
    QMetaObject::invokeMethod(
        m_mailbox.get(), [this, message] { route(message); }, Qt::QueuedConnection);
}

void CDialogWindow::runOnWindowThread(std::function<void()> task) {
    QMetaObject::invokeMethod(m_mailbox.get(), std::move(task), Qt::QueuedConnection);
}

void CDialogWindow::runOnWindowThreadAndWait(const std::function<void()>& task) {
    // The window thread waits on a worker for at most the close protocol's 100 ms, so it
    // always comes back to run this.
    runAndWait(m_mailbox.get(), task);
}

void CDialogWindow::deliverPostedCalls() {
    QCoreApplication::sendPostedEvents(m_mailbox.get(), QEvent::MetaCall);
}

bool CDialogWindow::sendMessage(const DialogMessage& message) {
    return route(message);
}

void CDialogWindow::endDialog(int result) {
    if (m_window) {
        m_window->endDialog(result);
    }
}

}  // namespace tevusb::ui
