// SPDX-License-Identifier: MIT
// The library window names the pre-flight check that preceded the selected flight.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>

#include "device/sim/sim_backend.h"
#include "library/preflight_record.h"
#include "library_rig.h"
#include "support/dialog_fixture.h"
#include "ui/library/flight_filter_proxy.h"
#include "ui/library/flight_table_model.h"
#include "ui/library/library_window.h"
#include "ui/library_service.h"

namespace tevusb::ui {
namespace {

using testing::waitUntil;

TEST(LibraryPreflight, TheCheckBeforeASelectedFlightIsShownAndOnlyForThatFlight) {
    libtest::LibraryRig rig;
    const std::vector<std::int64_t> earlier = rig.seed(1, {"Nova"});
    const auto lib = libraryService().acquire();
    ASSERT_TRUE(lib);
    data::PreflightReport report;
    report.profile = "Nova";
    report.items = {{"battery", data::CheckStatus::Ok, "The battery reads 9.1 V."}};
    ASSERT_TRUE(library::recordPreflight(*lib, report, "/dev/hidraw-sim0", {}).ok());
    device::sim::SimConfig config;
    config.timing = device::sim::SimTiming::instant();
    device::sim::SimBackend backend(config);
    library::DownloadInput input;
    for (int i = 0; i < backend.altimeter().usedPackets(); ++i) {
        input.packets.push_back(backend.altimeter().packet(i));
    }
    input.settings.image = backend.altimeter().settingsImage();
    input.altimeter = "/dev/hidraw-sim0";
    const auto archived = lib->archiveDownload(input);
    ASSERT_TRUE(archived.front().outcome.ok());

    LibraryWindow window(libraryService());
    QSignalSpy loaded(&window, &LibraryWindow::loaded);
    window.open();
    ASSERT_TRUE(waitUntil([&] { return loaded.count() > 0 && !window.busy(); }));
    auto* shown = window.findChild<QLabel*>(QStringLiteral("libraryPreflight"));
    ASSERT_NE(shown, nullptr);
    const auto select = [&](std::int64_t id) {
        window.table()->clearSelection();
        const FlightFilterProxy& proxy = window.proxy();
        for (int r = 0; r < proxy.rowCount(); ++r) {
            if (proxy.index(r, 0).data(FlightTableModel::IdRole).toLongLong() == id) {
                window.table()->selectionModel()->select(
                    proxy.index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
        }
    };
    select(archived.front().outcome.id);
    EXPECT_FALSE(shown->isHidden());
    EXPECT_TRUE(shown->text().startsWith("Pre-flight check before this flight: "));
    EXPECT_TRUE(shown->text().endsWith(": go for the rocket profile \"Nova\""))
        << shown->text().toStdString();
    select(earlier.front());
    EXPECT_TRUE(shown->isHidden());
}

}  // namespace
}  // namespace tevusb::ui
