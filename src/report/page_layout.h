// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QFont>
#include <QRectF>
#include <QRgb>
#include <QString>
#include <string>

class QPainter;
class QPaintDevice;

namespace tevusb::report {

inline constexpr double kPageMarginMm = 15.0;
inline constexpr double kPageGapMm = 5.0;
inline constexpr double kPageFooterMm = 8.0;
inline constexpr QRgb kPageText = 0xFF000000;
inline constexpr QRgb kPageMutedText = 0xFF505050;
inline constexpr QRgb kPageRule = 0xFF808080;

QString toQString(const std::string& text);
// The pages' sans-serif font ("Arial", or what the system puts in its place).
QFont pageFont(double points, bool bold = false);

// A page being drawn: millimetres in device units, text measured on the device itself,
// and the header and footer every report page has.
class PageLayout {
  public:
    explicit PageLayout(QPainter& painter);

    double mm(double millimetres) const { return millimetres * m_perMm; }
    double width() const;
    double height() const;
    double left() const { return mm(kPageMarginMm); }
    double right() const { return width() - mm(kPageMarginMm); }
    // Where the footer's rule lies; content stays above it.
    double footerTop() const { return height() - mm(kPageMarginMm + kPageFooterMm); }

    double lineHeight(const QFont& font) const;
    double textWidth(const QFont& font, const QString& text) const;
    // Height of `text` wrapped into `width`.
    double wrappedHeight(const QFont& font, const QString& text, double width) const;

    void text(const QRectF& box, const QString& text, const QFont& font, QRgb colour,
              int flags = Qt::AlignLeft | Qt::AlignTop);
    void rule(double y);
    void frame(const QRectF& box);

    // Program title with `what`, the line under it and a rule; returns the y below.
    double header(const QString& what, const QString& subtitle);
    // The rule and line at the bottom: program and `left`, the time made, "Page 1 of 1".
    void footer(const QString& left, const QDateTime& generated, int page = 1, int pages = 1);

    QPainter& painter() { return m_painter; }

  private:
    QPainter& m_painter;
    QPaintDevice& m_device;
    double m_perMm;
};

}  // namespace tevusb::report
