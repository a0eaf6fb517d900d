// SPDX-License-Identifier: MIT
#include "graph/simulation_overlay.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "graph/analysis_layout.h"
#include "graph/analysis_palette.h"
#include "graph/line_batch.h"

namespace tevusb::graph {

namespace {

namespace ap = analysis_palette;

constexpr double kLegendGap = 4.0;
// The dash pattern in pixels, as Qt's dash line draws a 2-pixel pen: 8 on, 4 off.
constexpr double kDashOn = 8.0;
constexpr double kDashOff = 4.0;
constexpr double kLegendSample = 24.0;

struct EventLook {
    const char* type;
    const char* label;
    QRgb colour;
};

// The simulated events a flyer compares with the flight's own markers; the simulator's
// bookkeeping events (launch rod cleared, simulation end, ...) would only crowd the view.
constexpr EventLook kEvents[] = {
    {"burnout", "Sim burnout", ap::kBurnout},
    {"apogee", "Sim apogee", ap::kApogee},
    {"recoverydevicedeployment", "Sim deployment", ap::kPhase},
    {"groundhit", "Sim landing", ap::kPhase},
};

// One polyline per stretch of finite values, a point per device-pixel column at most: a
// 50 000-row simulation costs a few hundred points, and the dash pattern runs on along a
// stretch.
void addCurve(std::vector<QPolygonF>& out, const PlotMapping& mapping, const std::vector<double>& t,
              const std::vector<double>& v, double resolution) {
    QPolygonF line;
    double lastX = -HUGE_VAL;
    const auto flush = [&] {
        if (line.size() > 1) {
            out.push_back(line);
        }
        line.clear();
        lastX = -HUGE_VAL;
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (!std::isfinite(v[i])) {
            flush();
            continue;
        }
        // One row past each edge of the window, so the curve runs to the frame.
        if (i + 1 < t.size() && t[i + 1] < mapping.t0()) {
            continue;
        }
        if (i > 0 && t[i - 1] > mapping.t1()) {
            break;
        }
        const double x = mapping.x(t[i]);
        if (std::floor(x * resolution) == std::floor(lastX * resolution)) {
            continue;
        }
        line << QPointF(x, std::clamp(mapping.y(v[i]), -65536.0, 65536.0));
        lastX = x;
    }
    flush();
}

// The "on" stretches of a dash pattern that runs on along the whole polyline.
void addDashes(std::vector<QLineF>& out, const QPolygonF& line) {
    double phase = 0.0;  // how far into the current on+off period
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1];
        const QPointF b = line[i];
        const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
        double done = 0.0;
        while (done < length) {
            const bool on = phase < kDashOn;
            const double left = on ? kDashOn - phase : kDashOn + kDashOff - phase;
            const double step = std::min(left, length - done);
            if (on) {
                const QPointF from = a + (b - a) * (done / length);
                const QPointF to = a + (b - a) * ((done + step) / length);
                out.emplace_back(from, to);
            }
            done += step;
            phase += step;
            if (phase >= kDashOn + kDashOff) {
                phase = 0.0;
            }
        }
    }
}

void drawLegend(QPainter& painter, const QRect& plot, const QString& name) {
    painter.save();
    const QFontMetricsF metrics = painter.fontMetrics();
    const QString flight = QStringLiteral("Flight");
    const QString simulated = name + QStringLiteral(" (simulation)");
    const double textWidth =
        std::max(metrics.horizontalAdvance(flight), metrics.horizontalAdvance(simulated));
    const double width = kLegendGap * 3 + kLegendSample + textWidth;
    const double height = metrics.height() * 2 + kLegendGap * 2;
    // Below the third row of marker labels, which sits just inside the plot's top.
    const QRectF box(plot.right() - kLegendGap - width, plot.top() + 2.0 + metrics.height() + 4.0,
                     width, height);
    painter.fillRect(box, QColor::fromRgba(ap::kLabelBox));
    painter.setPen(QPen(QColor::fromRgba(ap::kGrid), 1));
    painter.drawRect(box);
    const Qt::PenStyle styles[2] = {Qt::SolidLine, Qt::DashLine};
    const QString texts[2] = {flight, simulated};
    for (int row = 0; row < 2; ++row) {
        const double top = box.top() + kLegendGap + row * metrics.height();
        const double mid = top + metrics.height() / 2.0;
        painter.setPen(QPen(QColor::fromRgba(ap::kAltitude), ap::kCurveWidth, styles[row]));
        painter.drawLine(QPointF(box.left() + kLegendGap, mid),
                         QPointF(box.left() + kLegendGap + kLegendSample, mid));
        painter.setPen(QColor::fromRgba(ap::kText));
        painter.drawText(
            QPointF(box.left() + 2 * kLegendGap + kLegendSample, top + metrics.ascent()),
            texts[row]);
    }
    painter.restore();
}

void widen(const std::vector<double>& t, const std::vector<double>& v, double t0, double t1,
           double& low, double& high) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] >= t0 && t[i] <= t1 && std::isfinite(v[i])) {
            low = std::min(low, v[i]);
            high = std::max(high, v[i]);
        }
    }
}

}  // namespace

SimulationOverlay makeSimulationOverlay(const simulation::Simulation& sim,
                                        const simulation::SimulationFacts& facts,
                                        std::optional<double> flightLaunchS) {
    SimulationOverlay overlay;
    overlay.name = QString::fromStdString(sim.name);
    const double shift = flightLaunchS.value_or(0.0) - facts.launchTimeS.value_or(0.0);
    for (std::size_t i = 0; i < sim.points(); ++i) {
        if (!std::isfinite(sim.timeS[i]) || !std::isfinite(sim.altitudeM[i])) {
            continue;
        }
        overlay.timeS.push_back(sim.timeS[i] + shift);
        overlay.altitudeM.push_back(sim.altitudeM[i]);
        overlay.velocityMs.push_back(sim.verticalVelocityMs[i]);
    }
    // A deployment at apogee would hide the apogee's label behind its own: one marker says both.
    const std::optional<double> apogee = simulation::eventTime(sim, "apogee");
    constexpr double kSameMomentS = 2.0;
    const auto atApogee = [&](const simulation::SimEvent& e) {
        return e.type == "recoverydevicedeployment" && apogee &&
               std::fabs(e.timeS - *apogee) < kSameMomentS;
    };
    const bool deployedAtApogee = std::any_of(sim.events.begin(), sim.events.end(), atApogee);
    for (const auto& event : sim.events) {
        if (atApogee(event)) {
            continue;
        }
        for (const EventLook& look : kEvents) {
            if (event.type == look.type && std::isfinite(event.timeS)) {
                QString label = QString::fromLatin1(look.label);
                if (event.type == "apogee" && deployedAtApogee) {
                    label += QStringLiteral(" + deployment");
                }
                overlay.events.push_back({event.timeS + shift, label, look.colour});
            }
        }
    }
    return overlay;
}

SimulationOverlay makeSimulationOverlay(
    std::shared_ptr<const simulation::FlightAgainstSimulation> comparison,
    std::optional<double> flightLaunchS) {
    SimulationOverlay overlay =
        makeSimulationOverlay(comparison->sim, comparison->facts, flightLaunchS);
    overlay.comparison = std::move(comparison);
    return overlay;
}

void widenForOverlay(const SimulationOverlay& overlay, double t0, double t1, double& altitudeLow,
                     double& altitudeHigh, double& velocityLow, double& velocityHigh) {
    double aLow = HUGE_VAL, aHigh = -HUGE_VAL, vLow = HUGE_VAL, vHigh = -HUGE_VAL;
    widen(overlay.timeS, overlay.altitudeM, t0, t1, aLow, aHigh);
    widen(overlay.timeS, overlay.velocityMs, t0, t1, vLow, vHigh);
    // The same headroom the flight's own range gets, so the curve does not touch the frame.
    const auto grow = [](double lo, double hi, double& low, double& high) {
        if (lo > hi) {
            return;
        }
        const double pad = (hi - lo) * 0.05;
        low = std::min(low, lo - pad);
        high = std::max(high, hi + pad);
    };
    grow(aLow, aHigh, altitudeLow, altitudeHigh);
    grow(vLow, vHigh, velocityLow, velocityHigh);
}

void drawSimulationOverlay(QPainter& painter, const AnalysisLayout& layout,
                           const SimulationOverlay& overlay) {
    painter.save();
    painter.setClipRect(layout.plot().adjusted(0, 0, 1, 1));
    const auto draw = [&](const PlotMapping& mapping, const std::vector<double>& values,
                          QRgb colour) {
        std::vector<QPolygonF> lines;
        addCurve(lines, mapping, overlay.timeS, values, LineBatch::resolutionOf(painter));
        // Dashed by hand into plain segments: Qt's stroker for a wide dashed pen costs
        // several times the whole view on a long simulation.
        std::vector<QLineF> dashes;
        for (const QPolygonF& line : lines) {
            addDashes(dashes, line);
        }
        painter.setPen(QPen(QColor::fromRgba(colour), ap::kCurveWidth, Qt::SolidLine, Qt::FlatCap,
                            Qt::MiterJoin));
        painter.drawLines(dashes.data(), static_cast<int>(dashes.size()));
    };
    draw(layout.velocity(), overlay.velocityMs, ap::kVelocity);
    draw(layout.altitude(), overlay.altitudeM, ap::kAltitude);
    painter.restore();
    drawLegend(painter, layout.plot(), overlay.name);
}

}  // namespace tevusb::graph
