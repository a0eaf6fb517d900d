// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "ui/control_anchor.h"

class QWidget;

namespace tevusb::ui {

// Repositions a dialog's anchored controls whenever the dialog is resized, and keeps the
// dialog within its minimum (and, when non-zero, maximum) size. The dialogs create it at
// initialisation with their size then as the minimum: a dialog can grow, never shrink.
class AnchorLayout : public QObject {
    Q_OBJECT
  public:
    AnchorLayout(QWidget* dialog, int minWidth, int minHeight, int maxWidth, int maxHeight);
    ~AnchorLayout() override;

    // Adds an anchor; controls are repositioned in the order they were added.
    void add(std::unique_ptr<ControlAnchor> anchor);
    // Shorthand: anchors `control` with the flags top, left, bottom, right.
    void add(QWidget* control, bool top, bool left, bool bottom, bool right);

    // Moves every anchored control for a new client size.
    void relayout(int clientWidth, int clientHeight);

    const std::vector<std::unique_ptr<ControlAnchor>>& anchors() const { return m_anchors; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> m_dialog;
    std::vector<std::unique_ptr<ControlAnchor>> m_anchors;
};

}  // namespace tevusb::ui
