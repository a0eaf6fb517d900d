// SPDX-License-Identifier: MIT
#include "graph/set_view.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "data/reading.h"
#include "graph/graph_palette.h"
#include "graph/graph_text.h"
#include "graph/line_batch.h"
#include "graph/series_scan.h"

namespace tevusb::graph {

namespace {

QPen solidPen(QRgb argb, int width) {
    return QPen(QBrush(QColor::fromRgba(argb)), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

// A bar marks each sample interval in which exactly one line fired. Neighbouring
// intervals with the same flag share their end points, so a run becomes one line.
void addBars(LineBatch& lineA, LineBatch& lineB, const GraphMapping& mapping,
             const data::DataSet& set) {
    const double groundY = mapping.py(0.0);
    const auto barX = [&](std::size_t i) {
        return static_cast<double>(mapping.px(data::reading::timeOfSample(i))) + palette::kBarShift;
    };
    const std::vector<std::uint8_t>& flags = set.lineFlags;
    const std::size_t n = flags.size();
    std::size_t i = 1;
    while (i < n) {
        const std::uint8_t flag = flags[i];
        if (flag != data::reading::kLineAFlag && flag != data::reading::kLineBFlag) {
            ++i;
            continue;
        }
        const std::size_t first = i;
        while (i < n && flags[i] == flag) {
            ++i;
        }
        LineBatch& bars = flag == data::reading::kLineAFlag ? lineA : lineB;
        bars.add(barX(first - 1), groundY, barX(i - 1), groundY);
    }
}

// The label's figure in the chosen units; metric returns the designed float untouched.
float shownAs(analysis::Quantity quantity, float metricValue, double si,
              analysis::UnitSystem units) {
    if (units == analysis::UnitSystem::Metric) {
        return metricValue;
    }
    return static_cast<float>(analysis::toDisplay(quantity, si, units));
}

}  // namespace

int peakIndex(const std::vector<double>& series) {
    if (series.empty()) {
        return -1;
    }
    // A first value that is not a number is never replaced; later ones never win.
    const double* v = series.data();
    const std::size_t n = series.size();
    if (std::isnan(v[0])) {
        return 0;
    }
    // The largest value first, then its first position.
    const double largest = largestValue(v, n);
    for (std::size_t j = 0; j < n; ++j) {
        if (v[j] == largest) {
            return static_cast<int>(j);
        }
    }
    return 0;
}

std::vector<PeakLabel> peakLabels(const data::DataSet& set, analysis::UnitSystem units) {
    std::vector<PeakLabel> labels;
    const int j = peakIndex(set.altitudeAgl);
    if (j >= 0) {
        const auto ju = static_cast<std::size_t>(j);
        const auto t = static_cast<float>(j) / 10.0f;
        const auto h = static_cast<float>(set.altitudeAgl[ju]);
        const float shown = shownAs(analysis::Quantity::Altitude, h, set.altitudeAgl[ju], units);
        labels.push_back(
            {t, h, peakText(t, shown, analysis::unitSymbol(analysis::Quantity::Altitude, units))});
    }
    const int m = peakIndex(set.velocity);
    if (m >= 0) {
        const auto mu = static_cast<std::size_t>(m);
        const auto t = static_cast<float>(m) / 10.0f;
        const auto v = static_cast<float>(set.velocity[mu] * 3.6);
        const float shown = shownAs(analysis::Quantity::FastSpeed, v, set.velocity[mu], units);
        labels.push_back(
            {t, v, peakText(t, shown, analysis::unitSymbol(analysis::Quantity::FastSpeed, units))});
    }
    return labels;
}

void drawSetView(QPainter& painter, const GraphMapping& mapping, const data::DataSet& set,
                 analysis::UnitSystem units) {
    if (set.size() == 0) {
        return;
    }
    const int groundY = mapping.py(0.0);
    LineBatch batch;
    batch.add(0, groundY, mapping.width(), groundY);
    batch.draw(painter, solidPen(palette::kBlue, palette::kSetGroundWidth));

    const double resolution = LineBatch::resolutionOf(painter);
    batch.clear();
    batch.addPolyline(mapping, set.smoothedAltitude, resolution);
    batch.draw(painter, solidPen(palette::kRed, palette::kCurveWidth));

    batch.clear();
    batch.addPolyline(mapping, set.velocityKmh, resolution);
    batch.draw(painter, solidPen(palette::kGreen, palette::kCurveWidth));

    LineBatch lineA;
    LineBatch lineB;
    addBars(lineA, lineB, mapping, set);
    lineA.draw(painter, solidPen(palette::kRed, palette::kBarWidth));
    lineB.draw(painter, solidPen(palette::kBlue, palette::kBarWidth));

    const QFont font = labelFont();
    for (const PeakLabel& label : peakLabels(set, units)) {
        drawLabel(painter, font, mapping.px(label.seconds),
                  std::int64_t{mapping.py(label.value)} - palette::kLabelLift, label.text,
                  palette::kBlue);
    }

    drawLabel(painter, font, 100, std::int64_t{groundY} - palette::kLabelLift,
              QStringLiteral("Ground"), palette::kBlue);
    drawLabel(painter, font, 10, 10, QStringLiteral("Smoothed altitude"), palette::kRed);
    drawLabel(painter, font, 10, 50, QStringLiteral("<Velocity> over 1 second"), palette::kGreen);
    drawLabel(painter, font, 10, 90,
              QStringLiteral("Data set: ") + QString::number(std::int64_t{set.setIndex} + 1),
              palette::kBlue);
}

}  // namespace tevusb::graph
