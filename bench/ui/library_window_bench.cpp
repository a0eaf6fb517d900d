// SPDX-License-Identifier: MIT
// Opens the library window over 10 000 flights and types a motor name into its filter.
// Goals: the first screen within 200 ms of opening, at most 16 ms per key typed.
// Usage: library_window_bench [FOLDER] (default /dev/shm or /tmp; the library made there
// is kept, so later runs skip the seeding).
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <cstdio>
#include <filesystem>

#include "bench_util.h"
#include "data/data_set_store.h"
#include "ui/library/flight_filter_proxy.h"
#include "ui/library/flight_table_model.h"
#include "ui/library/library_window.h"
#include "ui/library_service.h"

namespace {

constexpr int kFlights = 10000;
const char* const kMotors[] = {"H128W", "G80T", "I200W", "J350W", "H242T", "F50T", "K550W"};
const char* const kRockets[] = {"Nova", "Arcas", "Brant", "Honest John", "Mirage", "Tomahawk"};

bool seed(const std::filesystem::path& folder) {
    tevusb::library::FlightLibrary lib(folder);
    lib.open();
    const std::size_t have = lib.list().size();
    if (have >= kFlights) {
        return true;
    }
    tevusb::data::DataSetStore sample;
    if (!sample.loadSetFile(TEVUSB_SAMPLE_FLIGHT)) {
        std::fprintf(stderr, "cannot read %s\n", TEVUSB_SAMPLE_FLIGHT);
        return false;
    }
    std::printf("seeding %d flights into %s ...\n", kFlights, folder.string().c_str());
    for (int i = static_cast<int>(have); i < kFlights; ++i) {
        tevusb::library::DownloadInput input;
        input.packets = sample.packets;
        input.settings = sample.settings;
        input.settings.adcOffset = i;  // a different calibration: a different flight
        input.settings.build();
        input.firmwareVersion = "1.50";
        input.downloadedAt = std::chrono::system_clock::now() - std::chrono::minutes(kFlights - i);
        const auto out = lib.archiveDownload(input);
        if (out.empty() || !out[0].outcome.ok()) {
            continue;
        }
        tevusb::library::FlightFields f;
        f.rocket = kRockets[i % std::size(kRockets)];
        f.motor = kMotors[(i / 3) % std::size(kMotors)];
        f.site = i % 2 ? "Black Rock" : "Lucerne";
        f.comment = "flight " + std::to_string(i);
        lib.edit(out[0].outcome.id, f);
    }
    return lib.list().size() >= kFlights;
}

// Opens a fresh window and returns the ms until its first screen of rows has been drawn.
double firstScreen(tevusb::ui::LibraryWindow*& window) {
    QElapsedTimer timer;
    timer.start();
    window = new tevusb::ui::LibraryWindow(tevusb::ui::libraryService());
    bool shown = false;
    bool all = false;
    QObject::connect(window, &tevusb::ui::LibraryWindow::rowsShown, [&] { shown = true; });
    QObject::connect(window, &tevusb::ui::LibraryWindow::loaded, [&] { all = true; });
    window->open();
    while (!shown) {
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    window->table()->viewport()->grab();  // the rows painted, as the flyer sees them
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    // The rest of the library arrives before the next measurement starts.
    while (!all || window->busy()) {
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : base / "tevusb-library-bench";
    if (!seed(folder)) {
        std::fprintf(stderr, "could not make the library in %s\n", folder.string().c_str());
        return 1;
    }
    tevusb::ui::libraryService().setFolder(folder);

    {
        // Where the first screen's time goes: the index query, the rows, the sort.
        auto lib = tevusb::ui::libraryService().acquire();
        std::vector<tevusb::library::FlightRecord> records;
        const double query = tevusb::bench::medianMs(3, [&] { records = lib->list(); });
        tevusb::ui::FlightTableModel model;
        const double rows = tevusb::bench::medianMs(3, [&] { model.setRecords(records); });
        // Like the window, the proxy sorts once it is asked for its rows.
        tevusb::ui::FlightFilterProxy proxy(&model);
        const double sort = tevusb::bench::medianMs(3, [&] {
            proxy.sort(-1);
            proxy.sort(tevusb::ui::FlightTableModel::Date, Qt::DescendingOrder);
            proxy.rowCount();
        });
        const double filter = tevusb::bench::medianMs(9, [&, n = 0]() mutable {
            proxy.setSearch(QStringLiteral("H128").left(1 + (n++ % 4)));
            proxy.rowCount();  // the proxy filters when first asked
        });
        std::printf("parts: index query %.1f ms, rows %.1f ms, sort %.1f ms, filter %.1f ms\n",
                    query, rows, sort, filter);
    }
    {
        const double made = tevusb::bench::medianMs(3, [] {
            tevusb::ui::LibraryWindow empty(tevusb::ui::libraryService());
            empty.show();
            QApplication::processEvents();
        });
        std::printf("parts: an empty window made and shown %.1f ms\n", made);
    }
    tevusb::ui::LibraryWindow* window = nullptr;
    const double cold = firstScreen(window);
    const int rows = window->model().rowCount();
    delete window;
    std::vector<double> warm;
    for (int i = 0; i < 5; ++i) {
        warm.push_back(firstScreen(window));
        if (i < 4) {
            delete window;
        }
    }
    std::sort(warm.begin(), warm.end());

    // Typing "H128" and then deleting it again, one key at a time, each key drawn.
    QLineEdit* filter = window->filterEdit();
    const QString word = QStringLiteral("H128");
    std::vector<double> keys;
    int shownAfterWord = 0;
    for (int round = 0; round < 5; ++round) {
        for (int n = 1; n <= 2 * word.size(); ++n) {
            const QString text = word.left(n <= word.size() ? n : 2 * word.size() - n);
            QElapsedTimer timer;
            timer.start();
            filter->setText(text);
            window->table()->viewport()->grab();
            keys.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            if (n == word.size()) {
                shownAfterWord = window->proxy().rowCount();
            }
        }
    }
    std::sort(keys.begin(), keys.end());
    std::printf("library of %d flights; \"H128\" shows %d\n", rows, shownAfterWord);
    tevusb::bench::report("library window first screen, library not yet open", cold, 200.0);
    tevusb::bench::report("library window first screen, library open (median)",
                          warm[warm.size() / 2], 200.0);
    tevusb::bench::report("filter as you type, per key (median)", keys[keys.size() / 2], 16.0);
    tevusb::bench::report("filter as you type, per key (slowest)", keys.back(), 16.0);
    delete window;
    return 0;
}
