// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>

#include "ui/dialog_host.h"
#include "ui/dialog_message.h"
#include "ui/dialog_template.h"

namespace tevusb::ui {

// A modal dialog driven by an object: the object is built from a dialog template, and every
// message of its window goes to its handler, which is where each dialog's behaviour lives.
class CDialogWindow {
  public:
    explicit CDialogWindow(int resourceId);
    virtual ~CDialogWindow();
    CDialogWindow(const CDialogWindow&) = delete;
    CDialogWindow& operator=(const CDialogWindow&) = delete;

    // Runs the dialog modally over `owner`; returns the result it ended with.
    int show(QWidget* owner);
    // Builds the window and initialises it without running it; show() uses it, tests too.
    // False when there is no template for the resource id.
    bool create(QWidget* owner);

    // The handler: true when the message was handled.
    virtual bool handleMessage(const DialogMessage& message) = 0;

    // Delivers a message later, on the window thread; callable from any thread.
    void postMessage(const DialogMessage& message);
    // Delivers a message now; window thread only.
    bool sendMessage(const DialogMessage& message);
    // Runs `task` on the window thread later; callable from any thread. This is how a worker
    // changes controls: it never touches a widget itself.
    void runOnWindowThread(std::function<void()> task);
    // Runs `task` on the window thread and waits until it has run: for a worker that needs
    // the result before it goes on. On the window thread itself it runs at once.
    void runOnWindowThreadAndWait(const std::function<void()>& task);
    // Ends the dialog: show() returns `result`.
    void endDialog(int result);

    int resourceId() const { return m_resourceId; }
    // The dialog's window; null before create().
    DialogHost* window() const { return m_window; }

  protected:
    // Uses `tmpl` instead of the template registered for the resource id.
    void setDialogTemplate(const DialogTemplate* tmpl) { m_template = tmpl; }
    // Runs now, on the window thread, the calls posted to it so far (messages and workers'
    // tasks): for a wait on a worker that may itself be waiting on one of them.
    void deliverPostedCalls();

  private:
    bool route(const DialogMessage& message);

    std::uint32_t m_resourceId;
    QPointer<DialogHost> m_window;
    const DialogTemplate* m_template = nullptr;
    bool m_initialised = false;
    // Lives on the window thread from construction on; posted messages use it as their
    // context, so none is delivered after the object has gone.
    std::unique_ptr<QObject> m_mailbox;
};

}  // namespace tevusb::ui
