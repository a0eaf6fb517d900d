// SPDX-License-Identifier: MIT
#include "app/file_notice.h"

#include <QEvent>

namespace tevusb::app {

FileNotice::FileNotice(QWidget* area, QWidget* parent) : QLabel(parent), m_area(area) {
    setObjectName(QStringLiteral("fileNotice"));
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setMargin(6);
    hide();
    m_hide.setSingleShot(true);
    m_hide.setInterval(kShownMs);
    connect(&m_hide, &QTimer::timeout, this, &QWidget::hide);
    m_area->installEventFilter(this);
}

void FileNotice::say(const QString& text, bool problem) {
    setText(text);
    setStyleSheet(problem ? QStringLiteral("background: #fff0c0; color: #7a3000; "
                                           "border: 1px solid #c08000;")
                          : QStringLiteral("background: #f0f0f0; color: #202020; "
                                           "border: 1px solid #808080;"));
    place();
    show();
    raise();
    m_hide.start();
}

void FileNotice::place() {
    const QRect area = m_area->geometry();
    const int width = area.width() - 16;
    const int height = heightForWidth(width) > 0 ? heightForWidth(width) : sizeHint().height();
    setGeometry(area.left() + 8, area.bottom() - 8 - height, width, height);
}

bool FileNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_area && (event->type() == QEvent::Resize || event->type() == QEvent::Move) &&
        isVisible()) {
        place();
    }
    return QLabel::eventFilter(watched, event);
}

}  // namespace tevusb::app
