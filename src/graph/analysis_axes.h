// SPDX-License-Identifier: MIT
#pragma once

#include <QPainter>
#include <QString>
#include <vector>

#include "analysis/units.h"
#include "graph/analysis_layout.h"
#include "graph/analysis_view_state.h"

namespace tevusb::graph {

// The frame parts of the analysis view, for every view drawn on an AnalysisLayout (one
// flight, or several compared): the painter's font must be analysisFont().

// "Altitude (m)": the axis title with the unit of `units`.
QString axisTitle(const char* name, analysis::Quantity quantity, analysis::UnitSystem units);
// Light grid lines at the time and altitude ticks.
void drawGrid(QPainter& painter, const AnalysisLayout& layout);
// Tick marks, labels and the rotated title of a value axis on the left or right.
void drawValueAxis(QPainter& painter, const AnalysisLayout& layout, analysis::Quantity quantity,
                   const AxisTicks& ticks, const PlotMapping& mapping, bool left,
                   const QString& title, QRgb titleColour);
// Tick marks, labels and title of the time axis below the plot.
void drawTimeAxis(QPainter& painter, const AnalysisLayout& layout);
// Where each marker's label goes (a null box for a marker outside the time shown); no two
// overlap while the rows last.
std::vector<QRectF> markerLabelBoxes(const QFontMetricsF& metrics, const AnalysisLayout& layout,
                                     const std::vector<ExtraMarker>& markers);
// Dashed vertical lines with their labels.
void drawMarkers(QPainter& painter, const AnalysisLayout& layout,
                 const std::vector<ExtraMarker>& markers);

}  // namespace tevusb::graph
