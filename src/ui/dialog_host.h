// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <functional>

#include "ui/dialog_message.h"

namespace tevusb::ui {

// The Qt window of a dialog object: turns its keys, close requests and button clicks into
// messages for the object's handler. It never closes or rejects by itself; only the
// handler ends the dialog.
class DialogHost : public QDialog {
    Q_OBJECT
  public:
    using Router = std::function<bool(const DialogMessage&)>;

    DialogHost(QWidget* owner, Router router);

    // Routes Command messages for the clicks of every button child that has an id.
    void connectButtons();
    // Ends the dialog with `result` (the modal loop returns it).
    void endDialog(int result);

  public slots:
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Router m_router;
    bool m_ending = false;
};

}  // namespace tevusb::ui
