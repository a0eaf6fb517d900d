// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <QTimer>

namespace tevusb::app {

// A line over the foot of the graph that says what a file command did ("Wrote set 1 to
// /home/f/flight.csv.") and goes again after a while. A label of its own, laid over the
// picture and never drawn into it, so the designed picture and boxes stay as they are.
class FileNotice : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kShownMs = 10000;

    // Lies over the bottom of `area`, a sibling in the same parent.
    FileNotice(QWidget* area, QWidget* parent);

    // Shows `text`; a problem in the colour of a warning.
    void say(const QString& text, bool problem);

  private:
    void place();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* m_area;
    QTimer m_hide;
};

}  // namespace tevusb::app
