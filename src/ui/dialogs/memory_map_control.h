// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
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
    // What the column under x holds, shown as its tooltip ("" shows none).
    void setToolTips(std::function<QString(int x)> tipAt) { m_tipAt = std::move(tipAt); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_control;
    std::function<void(int)> m_onClick;
    QImage m_image;
    std::function<QString(int)> m_tipAt;
};

}  // namespace tevusb::ui
