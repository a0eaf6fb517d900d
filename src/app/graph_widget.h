// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <functional>

class QPainter;

namespace tevusb::surface {
class DisplaySurface;
}

namespace tevusb::app {

// The main window's client area: shows the display surface's picture, stretched onto the
// widget when the buffer has another size (while the window is being resized). The
// buffer is made at the widget's device-pixel ratio, so a HiDPI screen shows it pixel
// for pixel. It never draws a view itself; without a buffer it leaves its area as it was.
class GraphWidget : public QWidget {
    Q_OBJECT
  public:
    GraphWidget(surface::DisplaySurface& surface, QWidget* parent = nullptr);

    // Number of paints that presented the buffer (for checks of what was shown).
    int presentCount() const { return m_presentCount; }

    // Something drawn over the presented buffer on every paint (the analysis view's
    // cursor readout), in widget coordinates; empty for none.
    void setOverlay(std::function<void(QPainter&)> overlay) { m_overlay = std::move(overlay); }
    // Called with each paint, for the hint laid over an empty picture (a widget of its
    // own, never drawn into the picture).
    void setPaintedHook(std::function<void()> painted) { m_empty = std::move(painted); }
    static const QString& emptyHint();

  signals:
    void resized();
    // A paint found the buffer made for another device-pixel ratio than the widget's
    // screen has now; the old picture is shown scaled until the buffer is made again.
    void ratioChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    surface::DisplaySurface& m_surface;
    int m_presentCount = 0;
    std::function<void(QPainter&)> m_overlay;
    std::function<void()> m_empty;
};

}  // namespace tevusb::app
