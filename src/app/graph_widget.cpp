// SPDX-License-Identifier: MIT
#include "app/graph_widget.h"

#include <QPainter>

#include "graph/surface/display_surface.h"

namespace tevusb::app {

GraphWidget::GraphWidget(surface::DisplaySurface& surface, QWidget* parent)
    : QWidget(parent), m_surface(surface) {
    // The picture covers every pixel: no erase before painting, so nothing flickers.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setObjectName("graph");
}

void GraphWidget::paintEvent(QPaintEvent*) {
    if (m_surface.hasBuffer() && m_surface.devicePixelRatio() != devicePixelRatioF()) {
        emit ratioChanged();
    }
    QPainter painter(this);
    if (m_surface.PresentGraph(painter, width(), height())) {
        ++m_presentCount;
        if (m_overlay) {
            m_overlay(painter);
        }
        if (m_empty) {
            m_empty();
        }
    }
}

const QString& GraphWidget::emptyHint() {
    static const QString hint = QStringLiteral(
        "Open a flight (File > Open\u2026) or download one (Tools > Download Data\u2026)");
    return hint;
}

void GraphWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

}  // namespace tevusb::app
