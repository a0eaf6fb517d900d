// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QObject>
#include <functional>

class QWidget;

namespace tevusb::ui {

// Takes over the painting and the clicks of the dialog's memory-map area: it paints the
// bitmap stretched without smoothing over (width + 2) x (2 x height) on black and hands
// every left click's x to the dialog.
class MemoryMapControl : public QObject {
  public:
    MemoryMapControl(QWidget* control, std::function<void(int x)> onClick);

    // The bitmap to show; repaints the control.
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_control;
    std::function<void(int)> m_onClick;
    QImage m_image;
};

}  // namespace tevusb::ui
