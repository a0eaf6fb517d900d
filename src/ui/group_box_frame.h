// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QLine>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

namespace tevusb::ui {

// Where the parts of an owner-drawn group box go, for its size and the dialog's font.
struct GroupBoxGeometry {
    int frameTop = 0;  // y of the top line, halfway down the caption's text
    QRect captionBox;  // filled with the background, caption text at its top left
    std::vector<QLine> lines;
    struct Arc {
        QRect box;
        int startDegrees;  // clockwise from three o'clock, sweeping 90 degrees clockwise
    };
    std::vector<Arc> arcs;
};

GroupBoxGeometry groupBoxGeometry(const QFont& font, const QString& caption, int width, int height);

// The frame with rounded corners and a coloured caption that replaces a dialog's group
// box. It paints only its lines and caption; sibling controls that overlap it are left
// out of its painting, as other group boxes are not.
class GroupBoxFrame : public QWidget {
    Q_OBJECT
  public:
    // `isGroupBox` tells which siblings are group boxes themselves.
    GroupBoxFrame(const QString& caption, QWidget* parent,
                  std::function<bool(const QWidget*)> isGroupBox);

    QString caption() const { return m_caption; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_caption;
    std::function<bool(const QWidget*)> m_isGroupBox;
};

}  // namespace tevusb::ui
