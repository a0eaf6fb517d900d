// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>

#include "library_rig.h"
#include "support/dialog_fixture.h"
#include "support/sim_files.h"
#include "support/sql_file.h"
#include "support/temp_dir.h"
#include "ui/library/flight_filter_proxy.h"
#include "ui/library/flight_table_model.h"
#include "ui/library/library_window.h"
#include "ui/library_service.h"
#include "ui/scripted_prompts.h"

namespace tevusb::ui {
namespace {

using testing::waitUntil;

class LibraryWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { m_previous = setUserPrompts(&prompts); }
    void TearDown() override {
        window.reset();
        setUserPrompts(m_previous);
    }

    // Opens the window and waits until it shows the library's rows.
    bool openWindow() {
        window = std::make_unique<LibraryWindow>(libraryService());
        QSignalSpy loaded(window.get(), &LibraryWindow::loaded);
        window->open();
        return waitUntil([&] { return loaded.count() > 0 && !window->busy(); });
    }
    // Runs `command` and waits until its work, and the reload after it, have ended.
    bool runAndWait(const std::function<void()>& command) {
        QSignalSpy done(window.get(), &LibraryWindow::workDone);
        command();
        return waitUntil([&] { return done.count() > 0 && !window->busy(); });
    }
    void select(std::int64_t id) {
        const FlightFilterProxy& proxy = window->proxy();
        for (int r = 0; r < proxy.rowCount(); ++r) {
            if (proxy.index(r, 0).data(FlightTableModel::IdRole).toLongLong() == id) {
                window->table()->selectionModel()->select(
                    proxy.index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
        }
    }

    libtest::LibraryRig lib;
    ScriptedPrompts prompts;
    std::unique_ptr<LibraryWindow> window;

  private:
    UserPrompts* m_previous = nullptr;
};

TEST_F(LibraryWindowTest, ImportingAFolderTakesTheGoodFilesAndNamesEachRefusedOne) {
    ASSERT_TRUE(openWindow());
    EXPECT_EQ(window->model().rowCount(), 0);
    const QString in = lib.path("incoming");
    const QByteArray good = libtest::readFile(TEVUSB_SAMPLE_FLIGHT);
    ASSERT_GT(good.size(), 100);
    libtest::writeFile(in + "/good.tev", good);
    libtest::writeFile(in + "/nested/again.tev", good);  // the same flight: known already
    libtest::writeFile(in + "/empty.tev", {});
    libtest::writeFile(in + "/truncated.tev", good.left(good.size() / 2));
    libtest::writeFile(in + "/noise.tev", QByteArray(4096, '\xA5'));
    libtest::writeFile(in + "/notes.txt", "not a flight");

    prompts.choose(in);
    ASSERT_TRUE(runAndWait([&] { window->importFolder(); }));
    ASSERT_FALSE(prompts.files().empty());
    EXPECT_EQ(prompts.files().back().request.mode, FileDialogRequest::Mode::Folder);
    ASSERT_FALSE(prompts.boxes().empty());
    const QString summary = prompts.boxes().back().text;
    EXPECT_TRUE(summary.startsWith("Imported 1 flight.")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("1 file was already in the library")) << summary.toStdString();
    for (const char* name : {"empty.tev", "truncated.tev", "noise.tev"}) {
        EXPECT_TRUE(summary.contains(QStringLiteral("\n%1: ").arg(name))) << name;
    }
    EXPECT_FALSE(summary.contains("good.tev"));
    EXPECT_FALSE(summary.contains("notes.txt"));
    EXPECT_EQ(prompts.boxes().back().type & 0xF0, kMbIconExclamation);
    EXPECT_EQ(window->model().rowCount(), 1);
    EXPECT_EQ(lib.listFresh().size(), 1u);
}

TEST_F(LibraryWindowTest, EditsInPlaceAreKeptByTheLibrary) {
    const std::vector<std::int64_t> ids = lib.seed(2, {"Nova", "Arcas"}, {"H128W", "G80T"});
    ASSERT_EQ(ids.size(), 2u);
    ASSERT_TRUE(openWindow());
    ASSERT_EQ(window->model().rowCount(), 2);
    FlightTableModel& model = window->model();
    const int row = model.rowOf(ids[1]);
    ASSERT_TRUE(runAndWait([&] {
        EXPECT_TRUE(
            model.setData(model.index(row, FlightTableModel::Site), "Black Rock", Qt::EditRole));
    }));
    EXPECT_EQ(window->statusText(), "Change saved.");
    // A second edit while the first is being written is refused, and says why.
    ASSERT_TRUE(
        model.setData(model.index(row, FlightTableModel::Comment), "drogue early", Qt::EditRole));
    EXPECT_FALSE(
        model.setData(model.index(row, FlightTableModel::Notes), "too soon", Qt::EditRole));
    EXPECT_TRUE(window->statusText().startsWith("Wait until"));
    ASSERT_TRUE(waitUntil([&] { return !window->busy(); }));
    EXPECT_EQ(model.index(row, FlightTableModel::Notes).data().toString(), "");
    const auto fresh = lib.listFresh();
    const auto it = std::find_if(fresh.begin(), fresh.end(),
                                 [&](const library::FlightRecord& r) { return r.id == ids[1]; });
    ASSERT_NE(it, fresh.end());
    EXPECT_EQ(it->site, "Black Rock");
    EXPECT_EQ(it->comment, "drogue early");
    EXPECT_EQ(it->rocket, "Arcas");

    // Typing "H128" finds the flight with that motor only.
    window->filterEdit()->setText("H128");
    ASSERT_EQ(window->proxy().rowCount(), 1);
    EXPECT_EQ(window->proxy().index(0, FlightTableModel::Rocket).data().toString(), "Nova");
}

TEST_F(LibraryWindowTest, TheApogeeOfAFlightWithASimulationReadsBesideItsSimulatedOne) {
    const std::vector<std::int64_t> ids = lib.seed(2);
    ASSERT_EQ(ids.size(), 2u);
    const std::filesystem::path csv = lib.folder().parent_path() / "sim-for-window.csv";
    tevusb::testing::writeAll(csv, tevusb::testing::openRocketCsv({}));
    {
        library::FlightLibrary other(lib.folder());
        ASSERT_TRUE(other.open().ok());
        ASSERT_TRUE(other.attachSimulation(ids[0], csv).ok());
    }
    std::filesystem::remove(csv);
    ASSERT_TRUE(openWindow());
    FlightTableModel& model = window->model();
    const QString with =
        model.index(model.rowOf(ids[0]), FlightTableModel::Apogee).data().toString();
    const QString without =
        model.index(model.rowOf(ids[1]), FlightTableModel::Apogee).data().toString();
    const double flown = *model.record(model.rowOf(ids[0])).apogeeAglM;
    const double simulated = tevusb::testing::referenceFlight().apogeeM;
    const QString pct = QString::number(100.0 * (flown - simulated) / simulated, 'f', 1);
    EXPECT_TRUE(with.contains(QStringLiteral(" \u00b7 sim ")) && with.contains(pct + " %"))
        << with.toStdString() << " / " << pct.toStdString();
    EXPECT_FALSE(without.contains("sim")) << without.toStdString();
}

TEST_F(LibraryWindowTest, AnEditTheLibraryRefusesIsSaidAndTheTableShowsTheTruth) {
    const std::vector<std::int64_t> ids = lib.seed(2, {"Nova", "Arcas"});
    ASSERT_TRUE(openWindow());
    // Another program deletes the flight while the window still shows it.
    {
        library::FlightLibrary other(lib.folder());
        ASSERT_TRUE(other.open().ok());
        ASSERT_TRUE(other.remove(ids[0]).ok());
    }
    FlightTableModel& model = window->model();
    ASSERT_TRUE(runAndWait([&] {
        model.setData(model.index(model.rowOf(ids[0]), FlightTableModel::Motor), "H128W",
                      Qt::EditRole);
    }));
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_TRUE(prompts.boxes()[0].text.startsWith("The change could not be saved: "));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.rowOf(ids[0]), -1);
}

TEST_F(LibraryWindowTest, DeleteAsksFirstAndMovesTheFileAside) {
    const std::vector<std::int64_t> ids = lib.seed(2, {"Nova", "Arcas"});
    ASSERT_TRUE(openWindow());
    const std::string archived = window->model().record(window->model().rowOf(ids[0])).archivePath;
    ASSERT_TRUE(std::filesystem::exists(lib.folder() / archived));
    select(ids[0]);
    ASSERT_EQ(window->selectedIds(), std::vector<std::int64_t>{ids[0]});

    prompts.answer(MessageResult::No);
    window->deleteSelected();
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_TRUE(prompts.boxes()[0].text.startsWith("Delete 1 flight from the flight library?"));
    EXPECT_FALSE(window->busy());
    EXPECT_EQ(lib.listFresh().size(), 2u);

    prompts.answer(MessageResult::Yes);
    ASSERT_TRUE(runAndWait([&] { window->deleteSelected(); }));
    ASSERT_TRUE(waitUntil([&] { return window->model().rowCount() == 1 && !window->busy(); }));
    EXPECT_EQ(lib.listFresh().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(lib.folder() / archived));
    const auto deleted = lib.folder() / "deleted";
    ASSERT_TRUE(std::filesystem::is_directory(deleted));
    bool found = false;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(deleted)) {
        found = found || entry.path().filename() == std::filesystem::path(archived).filename();
    }
    EXPECT_TRUE(found);
}

TEST_F(LibraryWindowTest, ExportWritesEachFlightAndNeverReplacesAFileUnasked) {
    const std::vector<std::int64_t> ids = lib.seed(2, {"Nova", "Arcas"}, {"H128W", ""});
    ASSERT_TRUE(openWindow());
    select(ids[0]);
    select(ids[1]);
    const QString out = lib.path("out");
    QDir().mkpath(out);
    prompts.choose(out);
    ASSERT_TRUE(runAndWait([&] { window->exportSelected(library::ExportFormat::Csv); }));
    QStringList written = QDir(out).entryList({"*.csv"}, QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), 2) << written.join(",").toStdString();
    // Named as the table names the flights.
    EXPECT_EQ(
        written.filter(QRegularExpression("^Nova - H128W, \\d{4}-\\d\\d-\\d\\d, set \\d+\\.csv$"))
            .size(),
        1)
        << written.join(",").toStdString();
    EXPECT_TRUE(libtest::readFile(QDir(out).filePath(written[0])).size() > 100);
    EXPECT_TRUE(prompts.boxes().back().text.startsWith("Exported 2 flights to "));

    // Both names exist now: the question comes first, and No keeps them as they are.
    for (const QString& name : written) {
        libtest::writeFile(QDir(out).filePath(name), "mine");
    }
    prompts.choose(out);
    prompts.answer(MessageResult::No);
    ASSERT_TRUE(runAndWait([&] { window->exportSelected(library::ExportFormat::Csv); }));
    const auto boxes = prompts.boxes();
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_TRUE(boxes[boxes.size() - 2].text.startsWith("2 files already exist in "));
    EXPECT_EQ(boxes[boxes.size() - 2].type, kMbYesNo | kMbIconQuestion);
    for (const QString& name : written) {
        EXPECT_EQ(libtest::readFile(QDir(out).filePath(name)), "mine");
    }
    EXPECT_TRUE(boxes.back().text.startsWith("Exported 0 flights to "));

    prompts.choose(out);
    prompts.answer(MessageResult::Yes);
    ASSERT_TRUE(runAndWait([&] { window->exportSelected(library::ExportFormat::Csv); }));
    for (const QString& name : written) {
        EXPECT_NE(libtest::readFile(QDir(out).filePath(name)), "mine");
    }
}

TEST_F(LibraryWindowTest, ADamagedIndexIsSaidOnceAndRebuildBringsTheFlightsBack) {
    lib.seed(3);
    libtest::writeFile(QString::fromStdString((lib.folder() / "index.sqlite").string()),
                       QByteArray(8192, 'x'));
    prompts.answer(MessageResult::Yes);
    window = std::make_unique<LibraryWindow>(libraryService());
    QSignalSpy done(window.get(), &LibraryWindow::workDone);
    window->open();
    ASSERT_TRUE(waitUntil([&] { return done.count() > 0 && !window->busy(); }));
    ASSERT_GE(prompts.boxes().size(), 1u);
    EXPECT_TRUE(prompts.boxes()[0].text.startsWith("The flight library in "));
    EXPECT_TRUE(prompts.boxes()[0].text.contains("Rebuild"));
    EXPECT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(window->model().rowCount(), 3);
    EXPECT_TRUE(window->statusText().startsWith("3 flights in "));
}

TEST_F(LibraryWindowTest, ExportByDownloadTimeKeepsTheSortableNames) {
    const std::vector<std::int64_t> ids = lib.seed(1, {"Nova"}, {"H128W"});
    ASSERT_TRUE(openWindow());
    ASSERT_FALSE(window->exportByTimeAction()->isChecked());
    window->exportByTimeAction()->setChecked(true);
    select(ids[0]);
    const QString out = lib.path("sorted");
    QDir().mkpath(out);
    prompts.choose(out);
    ASSERT_TRUE(runAndWait([&] { window->exportSelected(library::ExportFormat::Xml); }));
    const QStringList written = QDir(out).entryList({"*.xml"}, QDir::Files);
    ASSERT_EQ(written.size(), 1);
    EXPECT_TRUE(written[0].endsWith("_set1_Nova_H128W.xml")) << written[0].toStdString();
}

TEST_F(LibraryWindowTest, TheSearchSaysWhatItFoundAndAResultGoesWhenTheFlyerMovesOn) {
    const std::vector<std::int64_t> ids = lib.seed(2, {"Nova", "Arcas"}, {"H128W", "G80T"});
    ASSERT_TRUE(openWindow());
    ASSERT_TRUE(window->statusText().startsWith("2 flights in "));
    EXPECT_EQ(window->emptyTableText(), QString());
    auto* note = window->table()->viewport()->findChild<QLabel*>("libraryEmptyNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isHidden());

    struct Case {
        const char* search;
        QString status;
        bool empty;
    };
    const Case cases[] = {
        {"xyz", "No flight matches \"xyz\".", true},
        {"nova", "1 of 2 flights matches \"nova\".", false},
        {"  a ", "2 of 2 flights match \"a\".", false},
        {"", "2 flights in ", false},
    };
    for (const Case& c : cases) {
        window->filterEdit()->setText(QString::fromUtf8(c.search));
        EXPECT_TRUE(window->statusText().startsWith(c.status))
            << window->statusText().toStdString();
        EXPECT_EQ(note->isHidden(), !c.empty) << c.search;
        if (c.empty) {
            EXPECT_TRUE(window->emptyTableText().startsWith(c.status))
                << window->emptyTableText().toStdString();
        }
    }

    // "Change saved." is the answer to an edit; searching or selecting afterwards replaces it.
    FlightTableModel& model = window->model();
    const auto edit = [&](const QString& site) {
        return runAndWait([&] {
            model.setData(model.index(model.rowOf(ids[0]), FlightTableModel::Site), site,
                          Qt::EditRole);
        });
    };
    ASSERT_TRUE(edit("Black Rock"));
    EXPECT_EQ(window->statusText(), "Change saved.");
    window->filterEdit()->setText("Arcas");
    EXPECT_EQ(window->statusText(), "1 of 2 flights matches \"Arcas\".");
    window->filterEdit()->clear();
    ASSERT_TRUE(edit("Lucerne"));
    EXPECT_EQ(window->statusText(), "Change saved.");
    select(ids[1]);
    EXPECT_TRUE(window->statusText().startsWith("2 flights in "))
        << window->statusText().toStdString();
}

TEST_F(LibraryWindowTest, AnEmptyLibrarySaysHowFlightsGetIn) {
    ASSERT_TRUE(openWindow());
    EXPECT_TRUE(window->emptyTableText().startsWith("No flights in the library yet."));
    EXPECT_TRUE(window->emptyTableText().contains("Import File..."));
}

TEST_F(LibraryWindowTest, RebuildAsksFirstAndThenSaysWhatItDid) {
    lib.seed(3, {"Nova", "Arcas", "Ariel"});
    ASSERT_TRUE(openWindow());

    // No, the default, leaves everything as it was and starts nothing.
    window->rebuild();
    ASSERT_EQ(prompts.boxes().size(), 1u);
    const auto question = prompts.boxes()[0];
    EXPECT_EQ(question.type, kMbYesNo | kMbIconQuestion);
    EXPECT_TRUE(question.text.startsWith("Rebuild the index of the flight library in "));
    EXPECT_TRUE(question.text.contains("read again")) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains("are kept")) << question.text.toStdString();
    EXPECT_FALSE(window->busy());
    EXPECT_TRUE(window->statusText().startsWith("3 flights in "));

    // An archive file that cannot be read is a problem the result names.
    libtest::writeFile(QString::fromStdString((lib.folder() / "flights" / "junk.tev").string()),
                       QByteArray(600, '\x5A'));
    prompts.answer(MessageResult::Yes);
    ASSERT_TRUE(runAndWait([&] { window->rebuild(); }));
    ASSERT_TRUE(waitUntil([&] { return !window->busy(); }));
    ASSERT_EQ(prompts.boxes().size(), 3u);
    const auto result = prompts.boxes()[2];
    EXPECT_EQ(result.type, kMbOk | kMbIconInformation);
    EXPECT_TRUE(result.text.startsWith("Rebuilt the library index: 3 flights"))
        << result.text.toStdString();
    EXPECT_TRUE(result.text.contains("3 with their fields kept")) << result.text.toStdString();
    EXPECT_TRUE(result.text.contains("1 archive files could not be read, first: "))
        << result.text.toStdString();
    EXPECT_EQ(window->model().rowCount(), 3);
    // The count, and under it what the rebuild did, until the flyer moves on.
    const QStringList lines = window->statusText().split('\n');
    ASSERT_EQ(lines.size(), 2) << window->statusText().toStdString();
    EXPECT_TRUE(lines[0].startsWith("3 flights in "));
    EXPECT_EQ(lines[1], result.text);
    window->filterEdit()->setText("Nova");
    EXPECT_EQ(window->statusText(), "1 of 3 flights matches \"Nova\".");

    // Without a problem it says so.
    std::filesystem::remove(lib.folder() / "flights" / "junk.tev");
    prompts.answer(MessageResult::Yes);
    ASSERT_TRUE(runAndWait([&] { window->rebuild(); }));
    EXPECT_TRUE(prompts.boxes().back().text.endsWith("Every archive file was read."))
        << prompts.boxes().back().text.toStdString();
}

TEST_F(LibraryWindowTest, AnIndexFromANewerProgramIsSaidButNeverRebuilt) {
    lib.seed(1);
    // The index says it was written by a far newer program.
    const QString index = QString::fromStdString((lib.folder() / "index.sqlite").string());
    tevusb::testing::runSql(lib.folder() / "index.sqlite", "PRAGMA user_version = 9999;");
    const QByteArray before = libtest::readFile(index);
    ASSERT_TRUE(openWindow());
    ASSERT_TRUE(waitUntil([&] { return !prompts.boxes().empty() && !window->busy(); }));
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].type, kMbOk | kMbIconExclamation);
    EXPECT_FALSE(prompts.boxes()[0].text.contains("Rebuild"));
    EXPECT_TRUE(window->statusText().contains("cannot be opened"));
    EXPECT_EQ(window->model().rowCount(), 0);
    EXPECT_EQ(libtest::readFile(index), before);
}

}  // namespace
}  // namespace tevusb::ui
