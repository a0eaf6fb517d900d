// SPDX-License-Identifier: MIT
#include "startup_child.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include "app/graph_widget.h"
#include "app/main_window.h"
#include "app/program.h"

namespace tevusb::bench {

namespace {

constexpr int kIdleMs = 500;

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// Reports the first paint of the watched widget, then the memory after an idle moment.
class FirstPaint : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::printf("painted\ncpu %.3f\n",
                        1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
            std::fflush(stdout);
            QTimer::singleShot(kIdleMs, [] {
                std::printf("rss %ld\n", residentKilobytes());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool m_seen = false;
};

}  // namespace

int runStartupChild(const char* kind, int argc, char** argv) {
    FirstPaint firstPaint;
    if (std::strcmp(kind, "app") == 0) {
        // The program's own entry point: options, real USB access, toolkit, start-up
        // lines, window. The child's own words are not the program's.
        return app::Program::run(1, argv, [&firstPaint](app::MainWindow& window) {
            window.graphWidget()->installEventFilter(&firstPaint);
        });
    }
    QApplication application(argc, argv);
    QMainWindow window;
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    client->installEventFilter(&firstPaint);
    window.showMaximized();
    return QApplication::exec();
}

}  // namespace tevusb::bench
