// SPDX-License-Identifier: MIT
#include "ui/svg_icon_engine.h"

#include <QPainter>
#include <algorithm>

namespace tevusb::ui {

SvgIconEngine::SvgIconEngine(Draw draw, QList<int> sizes)
    : m_draw(std::move(draw)), m_sizes(std::move(sizes)) {
    std::sort(m_sizes.begin(), m_sizes.end());
}

int SvgIconEngine::pickSize(int wanted) const {
    // The smallest offered size that is not smaller than asked, as a stored icon would;
    // beyond the largest, the largest.
    for (int size : m_sizes) {
        if (size >= wanted) {
            return size;
        }
    }
    return m_sizes.isEmpty() ? wanted : m_sizes.back();
}

QPixmap SvgIconEngine::pixmap(const QSize& size, QIcon::Mode, QIcon::State) {
    const int wanted = std::max(size.width(), size.height());
    if (wanted <= 0) {
        return {};
    }
    const int chosen = pickSize(wanted);
    auto it = m_drawn.find(chosen);
    if (it == m_drawn.end()) {
        it = m_drawn.insert(chosen, m_draw(chosen));
    }
    if (chosen == wanted || it->isNull()) {
        return *it;
    }
    return it->scaled(wanted, wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void SvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                          QIcon::State state) {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
}

QList<QSize> SvgIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> sizes;
    for (int size : m_sizes) {
        sizes.append(QSize(size, size));
    }
    return sizes;
}

QSize SvgIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    const int side = std::min(size.width(), size.height());
    return QSize(side, side);
}

QIconEngine* SvgIconEngine::clone() const {
    return new SvgIconEngine(*this);
}

QString SvgIconEngine::key() const {
    return QStringLiteral("tevusb-svg");
}

}  // namespace tevusb::ui
