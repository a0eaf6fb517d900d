// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "library/export_name.h"
#include "library/export_plan.h"
#include "library/export_run.h"
#include "library/flight_library.h"
#include "library/problem_list.h"
#include "library_fixture.h"
#include "support/log_capture.h"

using namespace tevusb;
using library::ExportFormat;
using library::ExportItemState;
using tevusb::testing::readAll;
using tevusb::testing::TempDir;
using tevusb::testing::writeAll;

namespace {

library::FlightRecord flight(std::int64_t id, std::string rocket, std::string motor) {
    library::FlightRecord r;
    r.id = id;
    r.downloadedAt = "2026-12-08T07:35:28Z";
    r.setNumber = 2;
    r.rocket = std::move(rocket);
    r.motor = std::move(motor);
    return r;
}

// A library holding three downloaded flights, their records in id order.
class LibraryExport : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_flights.open().ok());
        for (const auto& item : m_flights.archiveDownload(tevusb::testing::simulatedDownload(3))) {
            ASSERT_TRUE(item.outcome.ok()) << item.outcome.message;
        }
        records = m_flights.list();
        ASSERT_EQ(records.size(), 3u);
    }

    tevusb::testing::LogCapture quiet;
    TempDir m_dir;
    library::FlightLibrary m_flights{m_dir / "library"};
    std::vector<library::FlightRecord> records;
    TempDir out;
};

}  // namespace

TEST(LibraryExportName, NamesAreSortableAndKeepOnlySafeCharacters) {
    EXPECT_EQ(library::exportFileName(flight(1, "Nova", "H128W"), ExportFormat::Tev),
              "2026-12-08_0735_set2_Nova_H128W.tev");
    EXPECT_EQ(library::exportFileName(flight(1, "", ""), ExportFormat::Csv),
              "2026-12-08_0735_set2.csv");
    // Separators, dots and spaces could leave the folder or hide the extension.
    EXPECT_EQ(library::exportFileName(flight(1, "../x y.z", "F-22/b"), ExportFormat::Xml),
              "2026-12-08_0735_set2____x_y_z_F-22_b.xml");
    // Letters of any script stay; symbols, emoji and broken UTF-8 do not.
    EXPECT_EQ(library::exportFileName(flight(1, "Über°", "Ракета\xE2\x9C\x88"), ExportFormat::Tev),
              "2026-12-08_0735_set2_Über__Ракета_.tev");
    EXPECT_EQ(library::exportFileName(flight(1,
                                             "a\xF0\x9F\x9A\x80"
                                             "b\xFF",
                                             ""),
                                      ExportFormat::Tev),
              "2026-12-08_0735_set2_a__b_.tev");
    EXPECT_EQ(library::exportFileName(flight(1, std::string(60, 'r'), ""), ExportFormat::Tev),
              "2026-12-08_0735_set2_" + std::string(40, 'r') + ".tev");
}

TEST(LibraryExportPlan, FlightsOfOneNameEachGetAFileAndFilesThereAreMarked) {
    tevusb::testing::LogCapture quiet;
    TempDir out;
    writeAll(out / "2026-12-08_0735_set2_Nova-2.csv", "mine");
    const library::ExportPlan plan =
        library::planExport({flight(1, "Nova", ""), flight(2, "Nova", ""), flight(3, "Nova", ""),
                             flight(4, "Arcas", "")},
                            ExportFormat::Csv, out.path());
    ASSERT_EQ(plan.items.size(), 4u);
    EXPECT_EQ(plan.items[0].name, "2026-12-08_0735_set2_Nova.csv");
    EXPECT_EQ(plan.items[1].name, "2026-12-08_0735_set2_Nova-2.csv");
    EXPECT_EQ(plan.items[2].name, "2026-12-08_0735_set2_Nova-3.csv");
    EXPECT_EQ(plan.items[2].target, out / "2026-12-08_0735_set2_Nova-3.csv");
    EXPECT_EQ(plan.items[3].id, 4);
    EXPECT_EQ(plan.existingNames(), std::vector<std::string>{"2026-12-08_0735_set2_Nova-2.csv"});
    EXPECT_EQ(
        library::replaceQuestion(plan),
        "1 file already exists in " + out.path().string() +
            ":\n2026-12-08_0735_set2_Nova-2.csv\n\nReplace them? No exports only the others.");
    std::filesystem::remove(out / "2026-12-08_0735_set2_Nova-2.csv");
    EXPECT_EQ(library::replaceQuestion(
                  library::planExport({flight(1, "Nova", "")}, ExportFormat::Csv, out.path())),
              "");
}

TEST_F(LibraryExport, AFileThereIsKeptUnlessReplacingIsAllowed) {
    library::ExportPlan plan = library::planExport(records, ExportFormat::Csv, out.path());
    writeAll(plan.items[1].target, "mine");
    plan = library::planExport(records, ExportFormat::Csv, out.path());
    ASSERT_EQ(plan.existingNames().size(), 1u);

    library::ExportReport report = library::writeExport(m_flights, plan, false);
    EXPECT_EQ(report.written, 2u);
    EXPECT_EQ(report.kept, 1u);
    EXPECT_EQ(report.items[1].state, ExportItemState::Kept);
    EXPECT_EQ(readAll(plan.items[1].target), "mine");
    EXPECT_GT(readAll(plan.items[0].target).size(), 100u);
    EXPECT_FALSE(report.problem());
    EXPECT_EQ(report.summary, "Exported 2 flights to " + out.path().string() +
                                  ". 1 existing file was kept as it was.");

    // Asked again, all three are there now; a yes replaces them.
    plan = library::planExport(records, ExportFormat::Csv, out.path());
    ASSERT_EQ(plan.existingNames().size(), 3u);
    report = library::writeExport(m_flights, plan, true);
    EXPECT_EQ(report.written, 3u);
    EXPECT_NE(readAll(plan.items[1].target), "mine");
    EXPECT_EQ(report.summary, "Exported 3 flights to " + out.path().string() + ".");
}

TEST_F(LibraryExport, AFileThatAppearsAfterThePlanIsNeverReplaced) {
    const library::ExportPlan plan = library::planExport(records, ExportFormat::Tev, out.path());
    ASSERT_TRUE(plan.existingNames().empty());
    writeAll(plan.items[0].target, "mine");
    writeAll(plan.items[2].target, "mine too");
    const library::ExportReport report = library::writeExport(m_flights, plan, true);
    EXPECT_EQ(report.written, 1u);
    EXPECT_EQ(readAll(plan.items[0].target), "mine");
    EXPECT_EQ(readAll(plan.items[2].target), "mine too");
    EXPECT_EQ(report.summary, "Exported 1 flight to " + out.path().string() +
                                  ". 2 existing files were kept as they were.");
}

TEST_F(LibraryExport, FailuresAreNamedWithTheirReasonAndTheRestIsWritten) {
    // An archive file gone from under the index: that flight fails, the others go on.
    std::filesystem::remove(m_flights.folder() / records[1].archivePath);
    library::ExportPlan plan = library::planExport(records, ExportFormat::Xml, out.path());
    library::ExportReport report = library::writeExport(m_flights, plan, false);
    EXPECT_EQ(report.written, 2u);
    ASSERT_EQ(report.items[1].state, ExportItemState::Failed);
    EXPECT_NE(report.items[1].reason.find("is missing or unreadable"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(plan.items[1].target));
    EXPECT_TRUE(report.problem());
    EXPECT_EQ(report.summary, "Exported 2 flights to " + out.path().string() +
                                  ".\n1 file could not be written:\n" + plan.items[1].name + ": " +
                                  report.items[1].reason);

    // A folder that cannot be made (its parent is a file): every file fails by name.
    writeAll(out / "plain", "x");
    plan = library::planExport(records, ExportFormat::Csv, out / "plain" / "sub");
    report = library::writeExport(m_flights, plan, false);
    EXPECT_EQ(report.written, 0u);
    EXPECT_EQ(report.failed, 3u);
    EXPECT_EQ(report.items[0].reason, "Cannot write " + plan.items[0].target.string() + ".");
    EXPECT_NE(report.summary.find(".\n3 files could not be written:\n"), std::string::npos);
}

TEST_F(LibraryExport, CancellingStopsBeforeTheNextFileAndSaysSo) {
    const library::ExportPlan plan = library::planExport(records, ExportFormat::Csv, out.path());
    std::vector<std::size_t> heard;
    const library::ExportReport report =
        library::writeExport(m_flights, plan, false, [&](std::size_t done, std::size_t total) {
            heard.push_back(done);
            EXPECT_EQ(total, 3u);
            return done < 2;
        });
    EXPECT_EQ(heard, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(report.written, 2u);
    EXPECT_EQ(report.items[2].state, ExportItemState::NotReached);
    EXPECT_FALSE(std::filesystem::exists(plan.items[2].target));
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.summary,
              "Exported 2 flights to " + out.path().string() + ". The export was cancelled.");
}

TEST(LibraryExportSummary, ALongListIsCutAndEveryLineLogged) {
    tevusb::testing::LogCapture diagnostics;
    std::vector<std::string> problems;
    for (int i = 1; i <= 27; ++i) {
        problems.push_back("f" + std::to_string(i));
    }
    const std::string text = library::listedProblems(problems);
    const std::string tail = "\nf25\n...and 2 more (listed in the diagnostic output).";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(text.find("f26"), std::string::npos);
    EXPECT_TRUE(diagnostics.has("f27"));
    EXPECT_EQ(library::listedProblems({}), "");
}

namespace {

library::FlightRecord named(std::int64_t id, std::string rocket, std::string motor, int set = 2) {
    library::FlightRecord r = flight(id, std::move(rocket), std::move(motor));
    r.flightDate = "2026-12-06";  // the day in the name, whatever the machine's zone
    r.setNumber = set;
    return r;
}

}  // namespace

TEST(LibraryExportName, ByFlightNameReadsAsTheTableAndIsSafeEverywhere) {
    using library::flightFileName;
    EXPECT_EQ(flightFileName(named(1, "Nova", "H128W"), ExportFormat::Tev),
              "Nova - H128W, 2026-12-06, set 2.tev");
    EXPECT_EQ(flightFileName(named(7, "", ""), ExportFormat::Csv),
              "Flight #7, 2026-12-06, set 2.csv");
    EXPECT_EQ(library::exportFileName(named(1, "Nova", ""), ExportFormat::Xml,
                                      library::ExportNaming::FlightName),
              "Nova, 2026-12-06, set 2.xml");
    // What no file system takes becomes '_'; letters of any script stay, broken UTF-8 not.
    EXPECT_EQ(flightFileName(named(1, "a\\b/c:d*e?f\"g<h>i|j\tk", "Über"), ExportFormat::Tev),
              "a_b_c_d_e_f_g_h_i_j_k - Über, 2026-12-06, set 2.tev");
    EXPECT_EQ(flightFileName(named(1, "x\xFF", ""), ExportFormat::Tev),
              "x_, 2026-12-06, set 2.tev");
    // Never hidden, never a way out of the folder.
    EXPECT_EQ(flightFileName(named(1, "..", ""), ExportFormat::Tev), "_., 2026-12-06, set 2.tev");
    EXPECT_EQ(flightFileName(named(1, "../../etc", ""), ExportFormat::Tev),
              "_._.._etc, 2026-12-06, set 2.tev");
    // Long names stop at 120 bytes between two characters, not inside one.
    const std::string cut =
        flightFileName(named(1, std::string(119, 'r') + "Ü", ""), ExportFormat::Tev);
    EXPECT_EQ(cut, std::string(119, 'r') + ".tev");
}

TEST(LibraryExportPlan, FlightsOfOneNameAreNumberedAndCaseDoesNotTellThemApart) {
    tevusb::testing::LogCapture quiet;
    TempDir out;
    const library::ExportPlan plan =
        library::planExport({named(1, "Nova", "H128W"), named(2, "Nova", "H128W"),
                             named(3, "NOVA", "h128w"), named(4, "Nova", "H128W", 3)},
                            ExportFormat::Csv, out.path(), library::ExportNaming::FlightName);
    ASSERT_EQ(plan.items.size(), 4u);
    EXPECT_EQ(plan.items[0].name, "Nova - H128W, 2026-12-06, set 2.csv");
    EXPECT_EQ(plan.items[1].name, "Nova - H128W, 2026-12-06, set 2 (2).csv");
    EXPECT_EQ(plan.items[2].name, "NOVA - h128w, 2026-12-06, set 2 (3).csv");
    EXPECT_EQ(plan.items[3].name, "Nova - H128W, 2026-12-06, set 3.csv");
    EXPECT_EQ(plan.items[1].target, out / "Nova - H128W, 2026-12-06, set 2 (2).csv");
}
