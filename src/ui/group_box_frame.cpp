// SPDX-License-Identifier: MIT
#include "ui/group_box_frame.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cmath>

#include "ui/dialog_look.h"

namespace tevusb::ui {

namespace {

constexpr int kMargin = 1;
constexpr int kRadius = 4;
constexpr int kGapBefore = 2;
constexpr int kGapAfter = 2;
constexpr int kCaptionX = kMargin + kRadius + kGapBefore + 2;  // 9
constexpr int kArcBox = 8;

}  // namespace

GroupBoxGeometry groupBoxGeometry(const QFont& font, const QString& caption, int width,
                                  int height) {
    const QFontMetricsF metrics(font);
    const double a = metrics.ascent();
    const double d = metrics.descent();
    const int c = static_cast<int>((a + d) / 2) + kMargin;
    const int captionWidth = static_cast<int>(std::ceil(metrics.horizontalAdvance(caption)));
    const int R = width;
    const int B = height;

    GroupBoxGeometry g;
    g.frameTop = c;
    g.captionBox = QRect(kCaptionX, 0, captionWidth, static_cast<int>(a + d) + 10);
    g.lines = {
        QLine(5, c, 7, c),
        QLine(kCaptionX + captionWidth + kGapAfter, c, R - 6, c),
        QLine(4, B - 2, R - 5, B - 2),
        QLine(1, c + 3, 1, B - 6),
        QLine(R - 2, c + 3, R - 2, B - 6),
    };
    g.arcs = {
        {QRect(1, c, kArcBox, kArcBox), 180},
        {QRect(R - 10, c, kArcBox, kArcBox), 270},
        {QRect(1, B - 10, kArcBox, kArcBox), 90},
        {QRect(R - 10, B - 10, kArcBox, kArcBox), 0},
    };
    return g;
}

GroupBoxFrame::GroupBoxFrame(const QString& caption, QWidget* parent,
                             std::function<bool(const QWidget*)> isGroupBox)
    : QWidget(parent), m_caption(caption), m_isGroupBox(std::move(isGroupBox)) {
    // Clicks go to the controls inside the frame, never to the frame.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupBoxFrame::paintEvent(QPaintEvent*) {
    const GroupBoxGeometry g = groupBoxGeometry(font(), m_caption, width(), height());

    QRegion clip(rect());
    if (parentWidget()) {
        for (QObject* child : parentWidget()->children()) {
            auto* sibling = qobject_cast<QWidget*>(child);
            if (sibling == nullptr || sibling == this || !sibling->isVisible() ||
                (m_isGroupBox && m_isGroupBox(sibling))) {
                continue;
            }
            clip -= QRect(mapFromParent(sibling->pos()), sibling->size());
        }
    }

    QPainter painter(this);
    painter.setClipRegion(clip);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The caption goes through a small image filled with the background, so the frame line
    // under it never shows through the text.
    if (!g.captionBox.isEmpty()) {
        QImage caption(g.captionBox.size(), QImage::Format_RGB32);
        caption.fill(kBackgroundColour);
        QPainter text(&caption);
        text.setFont(font());
        text.setPen(kGroupCaptionColour);
        text.drawText(QPointF(0, QFontMetricsF(font()).ascent()), m_caption);
        text.end();
        painter.drawImage(g.captionBox.topLeft(), caption);
        painter.setClipRegion(clip - g.captionBox);
    }

    painter.setPen(QPen(kGroupFrameColour, 1));
    for (const QLine& line : g.lines) {
        painter.drawLine(line);
    }
    for (const auto& arc : g.arcs) {
        // Qt counts angles anticlockwise in sixteenths of a degree.
        painter.drawArc(arc.box, -arc.startDegrees * 16, -90 * 16);
    }
}

}  // namespace tevusb::ui
