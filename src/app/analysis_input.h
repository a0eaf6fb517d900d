// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

class QPainter;
class QWidget;

namespace tevusb::graph {
class FlightGraph;
}

namespace tevusb::app {

class GraphWidget;

// Mouse and keyboard on the graph while the analysis view is shown: the cursor readout
// (painted over the buffer, no redraw per move), wheel zoom around the cursor, rectangle
// zoom with the left button, panning with the middle button or Shift+left, double-click
// or Home for the whole flight, +/- and the arrow keys. Inactive, it lets every event
// through and paints nothing.
class AnalysisInput : public QObject {
    Q_OBJECT
  public:
    // How much one wheel notch or one +/- press scales the visible span.
    static constexpr double kZoomStep = 0.8;
    // A left drag narrower than this is a click, not a zoom rectangle.
    static constexpr int kMinDragPx = 5;

    AnalysisInput(GraphWidget* widget, graph::FlightGraph& graph);

    void setActive(bool active);
    bool active() const { return m_active; }

    // Draws the readout and any zoom rectangle onto the widget's painter.
    void paintOverlay(QPainter& painter);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Drag { None, Zoom, Pan };

    // Widget x in buffer pixels, and the time under it on the shown layout.
    double bufferX(double widgetX) const;
    std::optional<double> timeAt(double widgetX) const;
    bool handleKey(int key);
    void zoomAround(double widgetX, double factor);
    void redraw();

    GraphWidget* m_widget;
    graph::FlightGraph& m_graph;
    bool m_active = false;
    std::optional<QPoint> m_cursor;
    Drag m_drag = Drag::None;
    QPoint m_dragFrom;
    QPoint m_dragTo;
};

}  // namespace tevusb::app
