// SPDX-License-Identifier: MIT
#pragma once

#include <QPlainTextEdit>

namespace tevusb::ui {

// The read-only, white, scrolling text box (id 1003) that shows a dialog's status buffer.
class StatusBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit StatusBox(QWidget* parent);

    // Shows the whole buffer anew and scrolls to its last line, with one repaint.
    void showBuffer(const QString& raw);
    // How many times the box was refreshed (each posted status message refreshes once).
    int refreshCount() const { return m_refreshCount; }

  private:
    int m_refreshCount = 0;
};

}  // namespace tevusb::ui
