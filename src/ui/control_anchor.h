// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QRect>

class QWidget;

namespace tevusb::ui {

// Keeps one control at fixed distances from the edges of its parent it is anchored to.
// An edge not anchored lets the control move with the opposite edge instead; anchored on
// two opposite edges, the control stretches.
class ControlAnchor {
  public:
    // Records the control's geometry and its parent's client size as they are now.
    ControlAnchor(QWidget* control, bool top, bool left, bool bottom, bool right);

    // The geometry for a new parent client size; updates the stored state.
    QRect reposition(int parentWidth, int parentHeight);
    // Applies reposition() to the control.
    void apply(int parentWidth, int parentHeight);

    QWidget* control() const { return m_control; }
    QRect geometry() const { return QRect(m_x, m_y, m_width, m_height); }

  private:
    QPointer<QWidget> m_control;
    QPointer<QWidget> m_parent;
    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_top;
    bool m_left;
    bool m_bottom;
    bool m_right;
    int m_parentWidth = 0;
    int m_parentHeight = 0;
};

}  // namespace tevusb::ui
