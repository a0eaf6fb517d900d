// SPDX-License-Identifier: MIT
// A full-memory download through the Download Data dialog over the simulated bus at
// 1 ms per report, with and without "Live Update", while another thread asks the window
// thread for an answer every 10 ms. Prints the download time ratio (goal: live at most
// 1.02 x plain) and the 99th percentile of the window thread's answer time (goal 50 ms).

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "bench_util.h"
#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "graph/flight_graph.h"
#include "graph/surface/display_surface.h"
#include "log/diagnostic_log.h"
#include "ui/dialog_host.h"
#include "ui/dialogs/capture_window.h"

namespace {

using namespace tevusb;
using Clock = std::chrono::steady_clock;

constexpr int kPackets = 128;

// Fills all 128 packets by repeating the simulator's recorded flights.
void fillMemory(device::sim::SimAltimeter& sim) {
    std::vector<data::MemoryPacket> recorded;
    for (int i = 0; i < sim.usedPackets(); ++i) {
        recorded.push_back(sim.packet(i));
    }
    for (int i = 0; i < kPackets; ++i) {
        sim.setPacket(i, recorded[static_cast<std::size_t>(i) % recorded.size()]);
    }
}

struct Run {
    double downloadMs = 0.0;
    std::vector<double> answersMs;
    int packets = 0;
    int frames = 0;  // repaints the live view asked of the main window
};

Run downloadOnce(bool live) {
    device::sim::SimConfig config;
    config.flights = 3;
    config.timing.reportDelay = std::chrono::microseconds{1000};
    auto backend = std::make_shared<device::sim::SimBackend>(config);
    fillMemory(backend->altimeter());
    device::AltimeterDevice device(backend);
    surface::DisplaySurface surface;
    surface.create(1280, 720);
    graph::FlightGraph graph(device.store, surface);
    graph.setClientSize(1280, 720);
    std::atomic<int> frames{0};
    surface.setRepaintRequest([&frames] { ++frames; });

    ui::CCaptureWindow dialog(nullptr, &graph, &surface);
    dialog.setDevice(&device);
    dialog.create(nullptr);
    dialog.window()->show();
    qobject_cast<QCheckBox*>(dialog.item(1032))->setChecked(live);

    // The pinger: every 10 ms it posts a call to the window thread and notes how long
    // the answer took.
    Run run;
    std::mutex answersMutex;
    std::atomic<bool> pinging{true};
    QObject receiver;
    std::thread pinger([&] {
        while (pinging) {
            const auto sent = Clock::now();
            QMetaObject::invokeMethod(
                &receiver,
                [&, sent] {
                    const double ms =
                        std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
                    std::lock_guard lock(answersMutex);
                    run.answersMs.push_back(ms);
                },
                Qt::QueuedConnection);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });

    const auto start = Clock::now();
    qobject_cast<QAbstractButton*>(dialog.item(1006))->click();
    while (!dialog.worker().started() || dialog.worker().running()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(200);
    }
    run.downloadMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    pinging = false;
    pinger.join();
    QCoreApplication::processEvents();
    run.packets = static_cast<int>(device.store.packets.size());
    run.frames = frames;
    dialog.sendMessage({ui::Message::Close, 0, 0, {}});
    return run;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The diagnostic lines would only measure the terminal; they go nowhere here.
    std::ostream* const previousSink = tevusb::log::DiagnosticLog::instance().setSink(nullptr);
    constexpr int kRuns = 3;
    std::vector<double> plain;
    std::vector<double> live;
    std::vector<double> answers;
    for (int i = 0; i < kRuns; ++i) {
        // Alternated, so drift of the shared machine hits both alike.
        for (bool withLive : {false, true}) {
            const Run run = downloadOnce(withLive);
            if (run.packets != kPackets) {
                tevusb::log::DiagnosticLog::instance().setSink(previousSink);
                std::printf("download read %d packets, expected %d\n", run.packets, kPackets);
                return 1;
            }
            (withLive ? live : plain).push_back(run.downloadMs);
            answers.insert(answers.end(), run.answersMs.begin(), run.answersMs.end());
            std::printf("run %d %-5s %9.1f ms, %d frames, %zu answers, p99 %.2f ms\n", i,
                        withLive ? "live" : "plain", run.downloadMs, run.frames,
                        run.answersMs.size(), percentile(run.answersMs, 0.99));
        }
    }
    const double plainMs = percentile(plain, 0.5);
    const double liveMs = percentile(live, 0.5);
    std::printf("median download: plain %.1f ms, live %.1f ms, live / plain %.3f\n", plainMs,
                liveMs, liveMs / plainMs);
    tevusb::bench::report("full download with Live Update (goal 1.02 x without)", liveMs,
                          1.02 * plainMs);
    tevusb::bench::report("window thread answer, 99th percentile", percentile(answers, 0.99), 50.0);
    tevusb::log::DiagnosticLog::instance().setSink(previousSink);
    return 0;
}
