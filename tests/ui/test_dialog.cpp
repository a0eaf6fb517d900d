// SPDX-License-Identifier: MIT
#include "test_dialog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace tevusb::ui::testing {

bool processEventsUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

}  // namespace tevusb::ui::testing
