// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "support/wait.h"
#include "ui/base_window.h"

namespace tevusb::ui::testing {

// A dialog for exercising the framework: its template and handler are the test's.
class TestDialog : public CBaseWindow {
  public:
    using Handler = std::function<bool(TestDialog&, const DialogMessage&)>;

    TestDialog(const DialogTemplate& tmpl, Handler handler)
        : CBaseWindow(tmpl.id), m_template(tmpl), m_handler(std::move(handler)) {
        setDialogTemplate(&m_template);
    }

    bool handleMessage(const DialogMessage& message) override {
        if (m_handler && m_handler(*this, message)) {
            return true;
        }
        return defaultHandler(message);
    }

    // The protected framework pieces, for the tests' handlers.
    using CBaseWindow::anchor;
    using CBaseWindow::anchorGroupBox;
    using CBaseWindow::closeWhenWorkerEnded;
    using CBaseWindow::connectCheck;
    using CBaseWindow::createLayout;
    using CBaseWindow::endWorkerBeforeDestruction;
    using CBaseWindow::handleDeviceChange;
    using CBaseWindow::operationCancel;
    using CBaseWindow::refreshStatus;
    using CBaseWindow::registerDeviceNotifications;
    using CBaseWindow::setConnectionIcon;
    using CBaseWindow::startWorker;

  private:
    DialogTemplate m_template;
    Handler m_handler;
};

using tevusb::testing::waitUntil;

}  // namespace tevusb::ui::testing
