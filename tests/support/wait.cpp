// SPDX-License-Identifier: MIT
#include "support/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace tevusb::testing {

bool waitUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    QCoreApplication::processEvents();
    return true;
}

}  // namespace tevusb::testing
