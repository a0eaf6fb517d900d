// SPDX-License-Identifier: MIT
#include "ui/status_box.h"

#include <QScrollBar>

#include "ui/dialog_look.h"
#include "ui/status_buffer.h"

namespace tevusb::ui {

StatusBox::StatusBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setFrameShape(QFrame::StyledPanel);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // An edit control's narrow inner margin: the template's boxes were sized for it.
    document()->setDocumentMargin(2);
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
    // The line end that closes the last status line opens no line of its own here: an
    // empty last line would only push a line of text out of view.
    QString text = displayText(raw);
    if (text.endsWith(QChar('\n'))) {
        text.chop(1);
    }
    setPlainText(text);
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
    setUpdatesEnabled(true);
}

}  // namespace tevusb::ui
