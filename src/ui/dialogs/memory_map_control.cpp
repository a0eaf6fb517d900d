// SPDX-License-Identifier: MIT
#include "ui/dialogs/memory_map_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWidget>

namespace tevusb::ui {

MemoryMapControl::MemoryMapControl(QWidget* control, std::function<void(int x)> onClick)
    : QObject(control), m_control(control), m_onClick(std::move(onClick)) {
    control->installEventFilter(this);
    control->setAttribute(Qt::WA_OpaquePaintEvent);
}

void MemoryMapControl::setImage(const QImage& image) {
    m_image = image;
    m_control->update();
}

bool MemoryMapControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_control) {
        return false;
    }
    if (event->type() == QEvent::Paint) {
        QPainter painter(m_control);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.fillRect(m_control->rect(), Qt::black);
        if (!m_image.isNull()) {
            painter.drawImage(QRect(0, 0, m_control->width() + 2, 2 * m_control->height()),
                              m_image);
        }
        return true;
    }
    if (event->type() == QEvent::ToolTip && m_tipAt) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = m_tipAt(help->pos().x());
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, m_control);
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_onClick) {
            m_onClick(mouse->position().toPoint().x());
        }
        return true;
    }
    return false;
}

}  // namespace tevusb::ui
