// SPDX-License-Identifier: MIT
// Writes pictures of both views of a synthetic flight, for a person to look at.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "graph/flight_graph.h"
#include "graph_test_support.h"

using namespace tevusb;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    graph::testing::LogCapture quiet;
    data::DataSetStore store;
    surface::DisplaySurface surface;
    graph::FlightGraph graph(store, surface);
    synthetic::FlightProfile profile;
    profile.readingCount = 1200;
    profile.apogeeAgl = 620.0;
    auto words = synthetic::flightWords(profile);
    // Both lines firing for a moment right after Line A: no bar may be drawn there.
    std::size_t lastA = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        lastA = (words[i] & 0x8000) != 0 ? i : lastA;
    }
    for (std::size_t i = lastA + 1; i < lastA + 11 && i < words.size(); ++i) {
        words[i] |= 0xC000;
    }
    store.packets = synthetic::packWords(words);
    if (!surface.create(1600, 900)) {
        std::fprintf(stderr, "cannot create the surface\n");
        return 1;
    }
    graph.setClientSize(1600, 900);
    graph.ShowSet(0);
    graph.RedrawGraph();
    bool ok = surface.snapshot().save(folder + QStringLiteral("/set_view.png"));

    store.fast.clear();
    for (std::size_t i = 0; i < words.size() * 2 / 5; ++i) {
        store.fast.add(words[i], 0);
    }
    graph.DrawFastSet();
    ok = surface.snapshot().save(folder + QStringLiteral("/live_view.png")) && ok;

    store.fast.clear();
    graph.DrawFastSet();
    ok = surface.snapshot().save(folder + QStringLiteral("/live_view_empty.png")) && ok;
    // With --large also a 65535-packet set, to look at the column envelope.
    if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("--large")) {
        profile.readingCount = 65535 * data::MemoryPacket::kWordCount;
        graph::testing::loadFlight(store, profile);
        graph.ShowSet(0);
        graph.RedrawGraph();
        ok = surface.snapshot().save(folder + QStringLiteral("/set_view_large.png")) && ok;
    }
    std::printf("%s: set_view.png live_view.png live_view_empty.png\n", qPrintable(folder));
    return ok ? 0 : 1;
}
