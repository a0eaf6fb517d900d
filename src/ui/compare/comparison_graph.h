// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <vector>

#include "graph/comparison_view.h"

namespace tevusb::ui {

// The graph of a flight comparison: draws the flights it is given, reads them out under
// the mouse, zooms with the wheel around the cursor, pans with a left drag, and shows
// everything again on a double click or Home. The picture is redrawn only when the
// flights, the view or the size change; the readout is painted over it.
class ComparisonGraph : public QWidget {
    Q_OBJECT
  public:
    static constexpr double kZoomStep = 0.8;

    explicit ComparisonGraph(QWidget* parent = nullptr);

    // The flights and how they are lined up; the view goes back to the whole span.
    void setFlights(const std::vector<graph::ComparedFlight>* flights,
                    const analysis::FlightAlignment& alignment);
    void setState(const graph::ComparisonState& state);
    void setUnits(analysis::UnitSystem units);

    const graph::ComparisonState& state() const { return m_state; }
    const graph::AnalysisLayout& layout() const { return m_layout; }
    // Zooms by `factor` around common time `t` (below 1 zooms in).
    void zoomAround(double t, double factor);
    void resetZoom();
    // What the readout says at widget column x; empty outside the plot.
    QStringList readoutAt(double x) const;
    // The picture at the present size, as painted.
    QImage picture();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    std::optional<double> timeAt(double x) const;
    void invalidate();
    void render();

    const std::vector<graph::ComparedFlight>* m_flights = nullptr;
    analysis::FlightAlignment m_alignment;
    graph::ComparisonState m_state;
    analysis::UnitSystem m_units = analysis::UnitSystem::Metric;
    graph::AnalysisLayout m_layout;
    QImage m_picture;
    bool m_stale = true;
    std::optional<double> m_cursorX;
    std::optional<double> m_dragX;
};

}  // namespace tevusb::ui
