// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::graph {

// The span of flight time the analysis view shows. It never reaches beyond the flight
// and never shows less than kMinSpanS (or the whole flight, when that is shorter);
// every change is clamped to those limits. It holds no data and never touches the
// store's GraphScale.
class TimeWindow {
  public:
    static constexpr double kMinSpanS = 1.0;

    // The flight's duration in seconds; shows the whole flight.
    void setFlight(double durationS);
    double duration() const { return m_duration; }

    double start() const { return m_start; }
    double end() const { return m_end; }
    double span() const { return m_end - m_start; }
    bool zoomed() const;

    // Scales the span by `factor` (below 1 zooms in), keeping time `t` where it is.
    void zoomAround(double t, double factor);
    // Shows [t0, t1] (either order), widened to the smallest span when narrower.
    void zoomTo(double t0, double t1);
    // Moves the window by dt seconds; it stops at the ends of the flight.
    void pan(double dt);
    // The whole flight again.
    void reset();

  private:
    double minSpan() const;
    void place(double start, double span);

    double m_duration = 0.0;
    double m_start = 0.0;
    double m_end = 0.0;
};

}  // namespace tevusb::graph
