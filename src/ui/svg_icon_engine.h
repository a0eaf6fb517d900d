// SPDX-License-Identifier: MIT
#pragma once

#include <QIconEngine>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <functional>

namespace tevusb::ui {

// An icon drawn from a picture only when a size of it is first asked for, then kept:
// making the icon costs nothing, so a window that never shows it (or not yet) does not
// pay for drawing every size at start-up.
class SvgIconEngine final : public QIconEngine {
  public:
    using Draw = std::function<QPixmap(int size)>;

    // `draw` makes the square pixmap of one size; `sizes` are the sizes it offers.
    SvgIconEngine(Draw draw, QList<int> sizes);

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

  private:
    // The offered size that suits a request of `wanted` pixels.
    int pickSize(int wanted) const;

    Draw m_draw;
    QList<int> m_sizes;
    QMap<int, QPixmap> m_drawn;
};

}  // namespace tevusb::ui
