// SPDX-License-Identifier: MIT
#include "app/analysis_input.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <functional>

#include "app/graph_widget.h"
#include "graph/cursor_readout.h"
#include "graph/flight_graph.h"

namespace tevusb::app {

namespace {
// One arrow key press moves the view by this share of its span.
constexpr double kPanShare = 0.2;
constexpr int kWheelNotch = 120;
}  // namespace

AnalysisInput::AnalysisInput(GraphWidget* widget, graph::FlightGraph& graph)
    : QObject(widget), m_widget(widget), m_graph(graph) {
    widget->installEventFilter(this);
    widget->setOverlay([this](QPainter& painter) { paintOverlay(painter); });
}

void AnalysisInput::setActive(bool active) {
    m_active = active;
    m_cursor.reset();
    m_drag = Drag::None;
    m_widget->setMouseTracking(active);
    m_widget->setFocusPolicy(active ? Qt::StrongFocus : Qt::NoFocus);
    m_widget->update();
}

double AnalysisInput::bufferX(double widgetX) const {
    const QSize buffer = m_graph.shownLayout().target().size();
    const int width = m_widget->width();
    return width > 0 && buffer.width() > 0 ? widgetX * buffer.width() / width : widgetX;
}

std::optional<double> AnalysisInput::timeAt(double widgetX) const {
    const graph::AnalysisLayout layout = m_graph.shownLayout();
    if (!layout.valid()) {
        return std::nullopt;
    }
    return layout.altitude().timeAt(bufferX(widgetX));
}

void AnalysisInput::redraw() {
    m_graph.RedrawGraph();
}

void AnalysisInput::zoomAround(double widgetX, double factor) {
    const std::optional<double> t = timeAt(widgetX);
    if (!t) {
        return;
    }
    m_graph.changeView([&](graph::AnalysisViewState& s) { s.window.zoomAround(*t, factor); });
    redraw();
}

bool AnalysisInput::handleKey(int key) {
    const graph::AnalysisViewState state = m_graph.viewState();
    const double middle = (state.window.start() + state.window.end()) / 2.0;
    const double step = state.window.span() * kPanShare;
    std::function<void(graph::AnalysisViewState&)> change;
    switch (key) {
        case Qt::Key_Home:
            change = [](graph::AnalysisViewState& s) { s.window.reset(); };
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            change = [&](graph::AnalysisViewState& s) { s.window.zoomAround(middle, kZoomStep); };
            break;
        case Qt::Key_Minus:
            change = [&](graph::AnalysisViewState& s) {
                s.window.zoomAround(middle, 1.0 / kZoomStep);
            };
            break;
        case Qt::Key_Left:
            change = [&](graph::AnalysisViewState& s) { s.window.pan(-step); };
            break;
        case Qt::Key_Right:
            change = [&](graph::AnalysisViewState& s) { s.window.pan(step); };
            break;
        default:
            return false;
    }
    m_graph.changeView(change);
    redraw();
    return true;
}

bool AnalysisInput::eventFilter(QObject* watched, QEvent* event) {
    if (!m_active || watched != m_widget) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseMove: {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (m_drag == Drag::Pan) {
                const graph::AnalysisLayout layout = m_graph.shownLayout();
                if (layout.valid()) {
                    // The flight follows the mouse: time moves against the drag.
                    const double dt = layout.altitude().timeAt(bufferX(m_dragTo.x())) -
                                      layout.altitude().timeAt(bufferX(at.x()));
                    m_graph.changeView([dt](graph::AnalysisViewState& s) { s.window.pan(dt); });
                    redraw();
                }
            }
            m_dragTo = at;
            m_cursor = at;
            m_widget->update();
            return false;
        }
        case QEvent::Leave:
            m_cursor.reset();
            m_widget->update();
            return false;
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const int delta = wheel->angleDelta().y();
            if (delta != 0) {
                zoomAround(wheel->position().x(),
                           std::pow(kZoomStep, static_cast<double>(delta) / kWheelNotch));
            }
            return true;
        }
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool shift = (mouse->modifiers() & Qt::ShiftModifier) != 0;
            if (mouse->button() == Qt::MiddleButton ||
                (mouse->button() == Qt::LeftButton && shift)) {
                m_drag = Drag::Pan;
            } else if (mouse->button() == Qt::LeftButton) {
                m_drag = Drag::Zoom;
            } else {
                return false;
            }
            m_dragFrom = m_dragTo = mouse->position().toPoint();
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const Drag drag = m_drag;
            m_drag = Drag::None;
            const QPoint to = mouse->position().toPoint();
            if (drag == Drag::Zoom && std::abs(to.x() - m_dragFrom.x()) >= kMinDragPx) {
                const std::optional<double> t0 = timeAt(m_dragFrom.x());
                const std::optional<double> t1 = timeAt(to.x());
                if (t0 && t1) {
                    m_graph.changeView(
                        [&](graph::AnalysisViewState& s) { s.window.zoomTo(*t0, *t1); });
                    redraw();
                }
            }
            m_widget->update();
            return drag != Drag::None;
        }
        case QEvent::MouseButtonDblClick:
            m_drag = Drag::None;
            return handleKey(Qt::Key_Home);
        case QEvent::KeyPress:
            return handleKey(static_cast<QKeyEvent*>(event)->key());
        default:
            return QObject::eventFilter(watched, event);
    }
}

void AnalysisInput::paintOverlay(QPainter& painter) {
    if (!m_active || !m_cursor) {
        return;
    }
    if (m_drag == Drag::Zoom) {
        const QRect band = QRect(m_dragFrom, m_dragTo).normalized();
        painter.fillRect(QRect(band.left(), 0, band.width(), m_widget->height()),
                         QColor(0, 0, 160, 40));
        return;
    }
    const std::optional<graph::FlightGraph::CursorView> cursor =
        m_graph.cursorAt(bufferX(m_cursor->x()));
    if (!cursor) {
        return;
    }
    // The buffer is stretched onto the widget while a resize settles; follow it.
    const QSize buffer = cursor->layout.target().size();
    painter.save();
    if (buffer.width() > 0 && buffer.height() > 0) {
        painter.scale(static_cast<double>(m_widget->width()) / buffer.width(),
                      static_cast<double>(m_widget->height()) / buffer.height());
    }
    graph::drawCursorReadout(painter, cursor->layout, cursor->sample);
    painter.restore();
}

}  // namespace tevusb::app
