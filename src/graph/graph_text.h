// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRgb>
#include <QString>
#include <cstdint>

class QPainter;

namespace tevusb::graph {

// A number as a default-configured output stream writes a float: up to six
// significant digits, fixed or exponent form as %g chooses, no trailing zeros.
QString floatText(float value);

// "(" t " s  " value " " unit ")": the peak labels of both views.
QString peakText(float seconds, float value, const char* unit);

// "Arial" 12 pt regular, falling back to the platform's sans-serif family.
QFont labelFont();

// Draws text with its layout box's top-left corner at (x, y), unclipped. Labels whose
// origin lies far outside any buffer cannot be seen and are skipped.
void drawLabel(QPainter& painter, const QFont& font, std::int64_t x, std::int64_t y,
               const QString& text, QRgb argb);

}  // namespace tevusb::graph
