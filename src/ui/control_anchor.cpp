// SPDX-License-Identifier: MIT
#include "ui/control_anchor.h"

#include <QWidget>

namespace tevusb::ui {

ControlAnchor::ControlAnchor(QWidget* control, bool top, bool left, bool bottom, bool right)
    : m_control(control),
      m_parent(control->parentWidget()),
      m_top(top),
      m_left(left),
      m_bottom(bottom),
      m_right(right) {
    const QRect g = control->geometry();
    m_x = g.x();
    m_y = g.y();
    m_width = g.width();
    m_height = g.height();
    if (m_parent) {
        m_parentWidth = m_parent->width();
        m_parentHeight = m_parent->height();
    }
}

QRect ControlAnchor::reposition(int parentWidth, int parentHeight) {
    const int dW = parentWidth - m_parentWidth;
    const int dH = parentHeight - m_parentHeight;
    m_parentWidth = parentWidth;
    m_parentHeight = parentHeight;
    int right = m_x + m_width;
    int bottom = m_y + m_height;
    if (!m_top) {
        m_y += dH;
    }
    if (!m_left) {
        m_x += dW;
    }
    if (m_bottom) {
        bottom += dH;
    }
    if (m_right) {
        right += dW;
    }
    m_width = right - m_x;
    m_height = bottom - m_y;
    return geometry();
}

void ControlAnchor::apply(int parentWidth, int parentHeight) {
    const QRect g = reposition(parentWidth, parentHeight);
    if (!m_control) {
        return;
    }
    const bool noMove = m_top && m_left;
    const bool noSize = !m_bottom && !m_right;
    if (noMove && !noSize) {
        m_control->resize(g.size());
    } else if (noSize && !noMove) {
        m_control->move(g.topLeft());
    } else if (!noMove && !noSize) {
        m_control->setGeometry(g);
    }
}

}  // namespace tevusb::ui
