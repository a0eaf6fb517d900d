// SPDX-License-Identifier: MIT
#include "ui/compare/comparison_graph.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace tevusb::ui {

namespace {
const std::vector<graph::ComparedFlight> kNoFlights;
}  // namespace

ComparisonGraph::ComparisonGraph(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("comparisonGraph"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
}

void ComparisonGraph::setFlights(const std::vector<graph::ComparedFlight>* flights,
                                 const analysis::FlightAlignment& alignment) {
    m_flights = flights;
    m_alignment = alignment;
    m_state.window.setFlight(alignment.endS - alignment.startS);
    invalidate();
}

void ComparisonGraph::setState(const graph::ComparisonState& state) {
    m_state = state;
    invalidate();
}

void ComparisonGraph::setUnits(analysis::UnitSystem units) {
    m_units = units;
    invalidate();
}

void ComparisonGraph::zoomAround(double t, double factor) {
    m_state.window.zoomAround(t - m_alignment.startS, factor);
    invalidate();
}

void ComparisonGraph::resetZoom() {
    m_state.window.reset();
    invalidate();
}

void ComparisonGraph::invalidate() {
    m_stale = true;
    update();
}

void ComparisonGraph::render() {
    const qreal ratio = devicePixelRatioF();
    m_picture = QImage(size() * ratio, QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(ratio);
    QPainter painter(&m_picture);
    m_layout = graph::drawComparison(painter, rect(), m_flights ? *m_flights : kNoFlights,
                                     m_alignment, m_state, m_units);
    m_stale = false;
}

QImage ComparisonGraph::picture() {
    if (m_stale || m_picture.size() != size() * devicePixelRatioF()) {
        render();
    }
    QImage shot = m_picture.copy();
    if (m_cursorX) {
        if (const auto t = timeAt(*m_cursorX)) {
            QPainter painter(&shot);
            graph::drawComparisonCursor(painter, m_layout, m_flights ? *m_flights : kNoFlights,
                                        m_alignment, m_state, *t);
        }
    }
    return shot;
}

void ComparisonGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture());
}

void ComparisonGraph::resizeEvent(QResizeEvent*) {
    invalidate();
}

std::optional<double> ComparisonGraph::timeAt(double x) const {
    if (!m_layout.valid() || x < m_layout.plot().left() || x > m_layout.plot().right()) {
        return std::nullopt;
    }
    return m_layout.altitude().timeAt(x);
}

QStringList ComparisonGraph::readoutAt(double x) const {
    const auto t = timeAt(x);
    if (!t || m_flights == nullptr) {
        return {};
    }
    return graph::comparisonReadout(*m_flights, m_alignment, *t, m_state.alignAt, m_units);
}

void ComparisonGraph::mouseMoveEvent(QMouseEvent* event) {
    const double x = event->position().x();
    if (m_dragX && m_layout.valid()) {
        // Dragging moves the flights with the mouse.
        const double dt = m_layout.altitude().timeAt(*m_dragX) - m_layout.altitude().timeAt(x);
        m_state.window.pan(dt);
        m_dragX = x;
        invalidate();
    }
    m_cursorX = x;
    update();
}

void ComparisonGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragX = event->position().x();
    }
}

void ComparisonGraph::mouseReleaseEvent(QMouseEvent*) {
    m_dragX.reset();
}

void ComparisonGraph::mouseDoubleClickEvent(QMouseEvent*) {
    resetZoom();
}

void ComparisonGraph::wheelEvent(QWheelEvent* event) {
    const auto t = timeAt(event->position().x());
    const int notches = event->angleDelta().y() / 120;
    if (!t || notches == 0) {
        return;
    }
    zoomAround(*t, std::pow(kZoomStep, notches));
}

void ComparisonGraph::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home) {
        resetZoom();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ComparisonGraph::leaveEvent(QEvent*) {
    m_cursorX.reset();
    update();
}

}  // namespace tevusb::ui
