// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QSize>
#include <optional>

class QSpinBox;

namespace tevusb::app {

// Asks how large an exported picture should be: the window's size to start with, any
// other size the user types (within what the picture export accepts).
class ImageSizeDialog : public QDialog {
    Q_OBJECT
  public:
    ImageSizeDialog(QWidget* parent, const QSize& windowSize);

    QSize chosenSize() const;
    void setChosenSize(const QSize& size);

    // Shows the dialog modally; the size, or none when cancelled.
    static std::optional<QSize> ask(QWidget* parent, const QSize& windowSize);

  private:
    QSpinBox* m_width;
    QSpinBox* m_height;
};

}  // namespace tevusb::app
