#include "graph/set_view.h"

#include <QPainter>
#include <QPen>

#include "data/reading.h"
#include "graph/graph_palette.h"
#include "graph/graph_text.h"
#include "graph/line_batch.h"

namespace tevusb::graph {

namespace {

QPen solidPen(QRgb argb, int width) {
    return QPen(QBrush(QColor::fromRgba(argb)), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

// A bar marks each sample interval in which exactly one line fired. Neighbouring
// intervals with the same flag share their end points, so a run becomes one line.
void addBars(LineBatch& bars, const GraphMapping& mapping, const data::DataSet& set,
             std::uint8_t flag) {
    const double groundY = mapping.py(0.0);
    const std::size_t n = set.lineFlags.size();
    std::size_t i = 1;
    while (i < n) {
        if (set.lineFlags[i] != flag) {
            ++i;
            continue;
        }
        const std::size_t first = i;
        while (i < n && set.lineFlags[i] == flag) {
            ++i;
        }
        const double x1 = static_cast<double>(mapping.px(data::reading::timeOfSample(first - 1))) +
                          palette::kBarShift;
        const double x2 = static_cast<double>(mapping.px(data::reading::timeOfSample(i - 1))) +
                          palette::kBarShift;
        bars.add(x1, groundY, x2, groundY);
    }
}

void drawPeakLabel(QPainter& painter, const QFont& font, const GraphMapping& mapping, float seconds,
                   float value, const char* unit) {
    drawLabel(painter, font, mapping.px(seconds),
              std::int64_t{mapping.py(value)} - palette::kLabelLift, peakText(seconds, value, unit),
              palette::kBlue);
}

}  // namespace

int peakIndex(const std::vector<double>& series) {
    if (series.empty()) {
        return -1;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < series.size(); ++i) {
        if (series[best] < series[i]) {
            best = i;
        }
    }
    return static_cast<int>(best);
}

void drawSetView(QPainter& painter, const GraphMapping& mapping, const data::DataSet& set) {
    if (set.size() == 0) {
        return;
    }
    const int groundY = mapping.py(0.0);
    LineBatch batch;
    batch.add(0, groundY, mapping.width(), groundY);
    batch.draw(painter, solidPen(palette::kBlue, palette::kSetGroundWidth));

    batch.clear();
    batch.addPolyline(mapping, set.smoothedAltitude);
    batch.draw(painter, solidPen(palette::kRed, palette::kCurveWidth));

    batch.clear();
    batch.addPolyline(mapping, set.velocityKmh);
    batch.draw(painter, solidPen(palette::kGreen, palette::kCurveWidth));

    batch.clear();
    addBars(batch, mapping, set, data::reading::kLineAFlag);
    batch.draw(painter, solidPen(palette::kRed, palette::kBarWidth));
    batch.clear();
    addBars(batch, mapping, set, data::reading::kLineBFlag);
    batch.draw(painter, solidPen(palette::kBlue, palette::kBarWidth));

    const QFont font = labelFont();
    const int j = peakIndex(set.altitudeAgl);
    if (j >= 0) {
        const auto ju = static_cast<std::size_t>(j);
        drawPeakLabel(painter, font, mapping, static_cast<float>(j) / 10.0f,
                      static_cast<float>(set.altitudeAgl[ju]), "m");
    }
    const int m = peakIndex(set.velocity);
    if (m >= 0) {
        const auto mu = static_cast<std::size_t>(m);
        drawPeakLabel(painter, font, mapping, static_cast<float>(m) / 10.0f,
                      static_cast<float>(set.velocity[mu] * 3.6), "km/h");
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
