// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>

#include "library_rig.h"
#include "support/dialog_fixture.h"
#include "support/screenshot.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/library/flight_table_model.h"
#include "ui/library/library_window.h"
#include "ui/library_service.h"
#include "ui/qt_prompts.h"

namespace tevusb::ui {
namespace {

using testing::waitUntil;

// Four simulated flights downloaded and named as a flyer would, the window shot as shown.
TEST(LibraryShotsTest, ANamedLibraryShowsEveryFlightWithApogeeAndEvents) {
    libtest::LibraryRig lib;
    testing::SimRig rig(testing::instantConfig(4));
    {
        CCaptureWindow dialog(nullptr, nullptr, nullptr);
        ASSERT_TRUE(testing::open(dialog, rig.device));
        ASSERT_TRUE(testing::press(dialog, capture_ids::kReadData));
        ASSERT_TRUE(waitUntil([&] {
            return !dialog.worker().running() && dialog.statusText().contains("Saved 4 flights");
        }));
        // The status box shows the buffer at its next refresh.
        ASSERT_TRUE(waitUntil([&] {
            auto* box = qobject_cast<QPlainTextEdit*>(dialog.item(capture_ids::kStatus));
            return testing::enabled(dialog, capture_ids::kSaveAll) && box != nullptr &&
                   box->toPlainText().contains("Saved 4 flights");
        }));
        EXPECT_TRUE(tevusb::testing::saveShot(*dialog.window(), "download-archived.png"));
        ASSERT_TRUE(testing::closeDialog(dialog));
    }
    const struct {
        const char* rocket;
        const char* motor;
        const char* site;
        const char* comment;
    } names[] = {
        {"Nova", "H128W", "Black Rock", "First flight on the new bay"},
        {"Arcas", "G80T", "Lucerne", "Windy, drifted 400 m"},
        {"Nova", "H128W", "Black Rock", "Main out at 150 m"},
        {"Brant", "I200W", "Lucerne", ""},
    };
    {
        library::FlightLibrary writer(lib.folder());
        ASSERT_TRUE(writer.open().ok() || writer.isOpen());
        const auto rows = writer.list();
        ASSERT_EQ(rows.size(), 4u);
        for (const library::FlightRecord& r : rows) {
            const auto& n = names[(r.setNumber - 1) % 4];
            writer.edit(r.id, {n.rocket, n.motor, n.site, {}, n.comment});
        }
    }
    ScriptedPrompts prompts;
    UserPrompts* previous = setUserPrompts(&prompts);
    {
        LibraryWindow window(libraryService());
        QSignalSpy loaded(&window, &LibraryWindow::loaded);
        window.open();
        ASSERT_TRUE(waitUntil([&] { return loaded.count() > 0 && !window.busy(); }));
        ASSERT_EQ(window.model().rowCount(), 4);
        for (int r = 0; r < 4; ++r) {
            EXPECT_TRUE(
                window.model().index(r, FlightTableModel::Apogee).data().toString().endsWith(" m"));
        }
        window.table()->selectRow(1);
        window.resize(1000, 300);
        EXPECT_TRUE(tevusb::testing::saveShot(window, "library-window.png"));

        // A search that finds nothing says so, in the table and under it.
        window.filterEdit()->setText("Brant H128W");
        EXPECT_TRUE(window.statusText().startsWith("No flight matches"));
        EXPECT_TRUE(tevusb::testing::saveShot(window, "library-no-match.png"));
        window.filterEdit()->clear();

        // Rebuild: the question as the flyer sees it, then what it did.
        prompts.answer(MessageResult::Yes);
        QSignalSpy done(&window, &LibraryWindow::workDone);
        window.rebuild();
        ASSERT_TRUE(waitUntil([&] { return done.count() > 0 && !window.busy(); }));
        const auto boxes = prompts.boxes();
        ASSERT_GE(boxes.size(), 2u);
        for (const auto& [box, name] :
             {std::pair{boxes[boxes.size() - 2], "library-rebuild-question.png"},
              std::pair{boxes.back(), "library-rebuild-result.png"}}) {
            auto shown = QtPrompts::buildMessageBox(&window, box.text, box.caption, box.type);
            shown->show();
            EXPECT_TRUE(tevusb::testing::saveShot(*shown, name));
        }
        EXPECT_TRUE(tevusb::testing::saveShot(window, "library-rebuilt.png"));
    }
    setUserPrompts(previous);
}

}  // namespace
}  // namespace tevusb::ui
