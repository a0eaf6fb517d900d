// SPDX-License-Identifier: MIT
#include "app/after_first_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace tevusb::app {

namespace {

class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QWidget& widget, std::function<void()> action)
        : QObject(&widget), m_widget(widget), m_action(std::move(action)) {
        widget.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_widget && event->type() == QEvent::Paint && m_action) {
            // After this paint has reached the screen, not inside it.
            QTimer::singleShot(0, &m_widget, std::exchange(m_action, nullptr));
            m_widget.removeEventFilter(this);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget& m_widget;
    std::function<void()> m_action;
};

}  // namespace

void afterFirstPaint(QWidget& widget, std::function<void()> action) {
    new FirstPaintWatch(widget, std::move(action));
}

}  // namespace tevusb::app
