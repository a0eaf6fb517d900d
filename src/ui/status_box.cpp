#include "ui/status_box.h"

#include <QScrollBar>

#include "ui/dialog_look.h"
#include "ui/status_buffer.h"

namespace tevusb::ui {

StatusBox::StatusBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setFrameShape(QFrame::StyledPanel);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, kStatusColour);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
}

void StatusBox::showBuffer(const QString& raw) {
    ++m_refreshCount;
    // Redraw off around the replacement: the user sees one repaint, not a flicker.
    setUpdatesEnabled(false);
    setPlainText(displayText(raw));
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
    setUpdatesEnabled(true);
}

}  // namespace tevusb::ui
