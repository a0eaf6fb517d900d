// SPDX-License-Identifier: MIT
#include "ui/anchor_layout.h"

#include <QEvent>
#include <QResizeEvent>
#include <QWidget>

namespace tevusb::ui {

AnchorLayout::AnchorLayout(QWidget* dialog, int minWidth, int minHeight, int maxWidth,
                           int maxHeight)
    : m_dialog(dialog) {
    if (minWidth > 0) {
        dialog->setMinimumWidth(minWidth);
    }
    if (minHeight > 0) {
        dialog->setMinimumHeight(minHeight);
    }
    if (maxWidth > 0) {
        dialog->setMaximumWidth(maxWidth);
    }
    if (maxHeight > 0) {
        dialog->setMaximumHeight(maxHeight);
    }
    dialog->installEventFilter(this);
}

AnchorLayout::~AnchorLayout() {
    if (m_dialog) {
        m_dialog->removeEventFilter(this);
    }
}

void AnchorLayout::add(std::unique_ptr<ControlAnchor> anchor) {
    m_anchors.push_back(std::move(anchor));
}

void AnchorLayout::add(QWidget* control, bool top, bool left, bool bottom, bool right) {
    add(std::make_unique<ControlAnchor>(control, top, left, bottom, right));
}

void AnchorLayout::relayout(int clientWidth, int clientHeight) {
    // One repaint for the whole batch rather than one per control.
    const bool updates = m_dialog && m_dialog->updatesEnabled();
    if (updates) {
        m_dialog->setUpdatesEnabled(false);
    }
    for (const auto& anchor : m_anchors) {
        anchor->apply(clientWidth, clientHeight);
    }
    if (updates) {
        m_dialog->setUpdatesEnabled(true);
    }
}

bool AnchorLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dialog && event->type() == QEvent::Resize) {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        relayout(size.width(), size.height());
    }
    return false;
}

}  // namespace tevusb::ui
