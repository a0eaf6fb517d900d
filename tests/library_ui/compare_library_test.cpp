// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>

#include "app/compare_menu.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/report_menu.h"
#include "data/data_set_store.h"
#include "library/flight_name.h"
#include "library_app_test.h"
#include "library_rig.h"
#include "support/dialog_fixture.h"
#include "support/pdf_tools.h"
#include "support/screenshot.h"
#include "ui/compare/compare_flights_window.h"
#include "ui/library/flight_filter_proxy.h"
#include "ui/library/library_flight_picker.h"
#include "ui/library_service.h"
#include "ui/scripted_prompts.h"

namespace tevusb::app {
namespace {

using ui::testing::waitUntil;

// The comparison window of the main window, filled from the library.
class LibraryFlightsTest : public libtest::LibraryAppTest {
  protected:
    ui::CompareFlightsWindow* openComparison() {
        QAction* action = menuAction(*window, view_command::kCompareFlights);
        EXPECT_NE(action, nullptr);
        action->trigger();
        return window->findChild<ui::CompareFlightsWindow*>();
    }
    // Clicks "Add from Library..." and waits until the picker shows the library's rows.
    ui::LibraryFlightPicker* openPicker(ui::CompareFlightsWindow& compare) {
        auto* button = compare.findChild<QPushButton*>(QStringLiteral("addFromLibrary"));
        EXPECT_NE(button, nullptr);
        EXPECT_TRUE(button != nullptr && button->isVisibleTo(&compare));
        if (button != nullptr) {
            button->click();
        }
        auto* picker = compare.findChild<ui::LibraryFlightPicker*>();
        EXPECT_NE(picker, nullptr);
        if (picker != nullptr) {
            EXPECT_TRUE(waitUntil([&] { return !picker->busy(); }));
        }
        return picker;
    }
    bool pickerGone(ui::CompareFlightsWindow& compare) {
        return waitUntil([&] { return compare.findChild<ui::LibraryFlightPicker*>() == nullptr; });
    }
    QString archiveFile(const library::FlightRecord& r) const {
        return QString::fromStdString((lib.folder() / r.archivePath).string());
    }
};

TEST_F(LibraryFlightsTest, FlightsPickedFromTheLibraryAreComparedUnderTheirRocketAndMotor) {
    ASSERT_EQ(lib.seed(3, {"Nova", "Nova", "Arcas"}, {"H128W", "G80T", ""}).size(), 3u);
    ui::CompareFlightsWindow* compare = openComparison();
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->flights().empty());
    ui::LibraryFlightPicker* picker = openPicker(*compare);
    ASSERT_NE(picker, nullptr);
    ASSERT_EQ(picker->proxy().rowCount(), 3);
    EXPECT_TRUE(picker->statusText().startsWith("3 flights")) << picker->statusText().toStdString();

    picker->filterEdit()->setText(QStringLiteral("nova"));
    ASSERT_EQ(picker->proxy().rowCount(), 2);
    picker->table()->selectAll();
    auto* add = picker->findChild<QPushButton*>(QStringLiteral("pickerAdd"));
    ASSERT_NE(add, nullptr);
    ASSERT_TRUE(add->isEnabled());
    add->click();
    ASSERT_TRUE(waitUntil([&] { return compare->flights().size() == 2; }));
    ASSERT_TRUE(pickerGone(*compare));
    EXPECT_TRUE(prompts.boxes().empty());

    QStringList names;
    for (const auto& f : compare->flights()) {
        names << f.name;
    }
    names.sort();
    ASSERT_EQ(names.size(), 2);
    // Named as the library names them: rocket / motor, day, set in the download.
    EXPECT_TRUE(names[0].startsWith("Nova / G80T, ") && names[0].contains(", set "))
        << names[0].toStdString();
    EXPECT_TRUE(names[1].startsWith("Nova / H128W, ") && names[1].contains(", set "))
        << names[1].toStdString();
    EXPECT_EQ(compare->table()->columnCount(), 2);
    // The archived flight itself, not a stand-in: the sample's readings, with statistics.
    data::DataSetStore sample;
    ASSERT_TRUE(sample.loadSetFile(TEVUSB_SAMPLE_FLIGHT));
    sample.selectSet(0);
    EXPECT_EQ(compare->flights()[0].set.adcCounts, sample.current.adcCounts);
    EXPECT_TRUE(compare->flights()[0].statistics.apogee.has_value());
}

TEST_F(LibraryFlightsTest, TheTenFlightLimitAndAVanishedArchiveFileAreSaidInOneMessage) {
    const std::vector<std::int64_t> ids = lib.seed(3);
    ASSERT_EQ(ids.size(), 3u);
    ui::CompareFlightsWindow* compare = openComparison();
    ASSERT_NE(compare, nullptr);
    QStringList files;
    for (int i = 0; i < 9; ++i) {
        files << QStringLiteral(TEVUSB_SAMPLE_FLIGHT);
    }
    ASSERT_EQ(compare->addFiles(files), 9);
    EXPECT_EQ(compare->room(), 1u);

    ui::LibraryFlightPicker* picker = openPicker(*compare);
    ASSERT_NE(picker, nullptr);
    ASSERT_EQ(picker->proxy().rowCount(), 3);
    const std::vector<library::FlightRecord> records = lib.listFresh();
    ASSERT_EQ(records.size(), 3u);
    ASSERT_TRUE(QFile::remove(archiveFile(records[0])));
    picker->table()->selectAll();
    picker->addSelected();
    ASSERT_TRUE(pickerGone(*compare));
    ASSERT_TRUE(waitUntil([&] { return !prompts.boxes().empty(); }));

    EXPECT_EQ(compare->flights().size(), ui::CompareFlightsWindow::kMaxFlights);
    ASSERT_EQ(prompts.boxes().size(), 1u);
    const QString text = prompts.boxes()[0].text;
    EXPECT_TRUE(text.contains(archiveFile(records[0]))) << text.toStdString();
    EXPECT_TRUE(text.contains("At most 10 flights")) << text.toStdString();
    // A full comparison says so before anything is picked.
    auto* button = compare->findChild<QPushButton*>(QStringLiteral("addFromLibrary"));
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(compare->findChild<ui::LibraryFlightPicker*>(), nullptr);
    ASSERT_EQ(prompts.boxes().size(), 2u);
    EXPECT_TRUE(prompts.boxes()[1].text.contains("remove one first"));
    // Flights without the flyer's fields go by their date and set.
    EXPECT_TRUE(compare->flights().back().name.contains(
        QRegularExpression(QStringLiteral("^Flight #\\d+, \\d{4}-\\d\\d-\\d\\d, set 1$"))))
        << compare->flights().back().name.toStdString();
}

TEST_F(LibraryFlightsTest, ALibraryThatCannotBeOpenedIsSaidOnceAndTheComparisonStaysAsItWas) {
    ui::libtest::writeFile(QString::fromStdString((lib.folder() / "index.sqlite").string()),
                           QByteArray(8192, 'x'));
    ui::CompareFlightsWindow* compare = openComparison();
    ASSERT_NE(compare, nullptr);
    ASSERT_EQ(compare->addFiles({QStringLiteral(TEVUSB_SAMPLE_FLIGHT)}), 1);
    auto* button = compare->findChild<QPushButton*>(QStringLiteral("addFromLibrary"));
    ASSERT_NE(button, nullptr);
    button->click();
    ASSERT_TRUE(pickerGone(*compare));
    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_TRUE(prompts.boxes()[0].text.contains("cannot be opened"));
    EXPECT_TRUE(prompts.boxes()[0].text.contains(QString::fromStdString(lib.folder().string())));
    ASSERT_EQ(compare->flights().size(), 1u);
    EXPECT_EQ(compare->flights()[0].name, "sample-flight.tev, set 1");
}

// The picker and the comparison it fills, shot as a flyer sees them.
TEST_F(LibraryFlightsTest, ShotsOfThePickerAndTheFlightsItAdded) {
    ASSERT_EQ(
        lib.seed(4, {"Nova", "Nova", "Nova", "Arcas"}, {"H128W", "G80T", "H100", "F52"}).size(),
        4u);
    ui::CompareFlightsWindow* compare = openComparison();
    ASSERT_NE(compare, nullptr);
    ui::LibraryFlightPicker* picker = openPicker(*compare);
    ASSERT_NE(picker, nullptr);
    picker->filterEdit()->setText(QStringLiteral("nova"));
    picker->table()->selectAll();
    EXPECT_TRUE(tevusb::testing::saveShot(*picker, "compare-library-picker.png"));
    picker->addSelected();
    ASSERT_TRUE(waitUntil([&] { return compare->flights().size() == 3; }));
    ASSERT_TRUE(pickerGone(*compare));
    compare->resize(1000, 760);
    EXPECT_TRUE(tevusb::testing::saveShot(*compare, "compare-library.png"));
}

TEST(LibraryFlightPickerNames, RocketAndMotorWhereTypedElseDateAndSet) {
    library::FlightRecord r;
    r.downloadedAt = "2026-12-08T07:35:28Z";
    r.setNumber = 2;
    r.rocket = "  Nova ";
    r.motor = "H128W";
    r.id = 7;
    const QString day = QString::fromStdString(library::flightDay(r));
    EXPECT_EQ(ui::LibraryFlightPicker::flightName(r), "Nova / H128W, " + day + ", set 2");
    r.rocket.clear();
    EXPECT_EQ(ui::LibraryFlightPicker::flightName(r), "H128W, " + day + ", set 2");
    r.motor = " ";
    EXPECT_EQ(ui::LibraryFlightPicker::flightName(r), "Flight #7, " + day + ", set 2");
    r.flightDate = "2026-12-06";
    EXPECT_EQ(ui::LibraryFlightPicker::flightName(r), "Flight #7, 2026-12-06, set 2");
}

TEST_F(LibraryFlightsTest, AReportOfALibraryFlightCarriesItsFieldsAndAPlainFileNone) {
    const std::vector<std::int64_t> ids = lib.seed(2, {"Nova", "Arcas"}, {"H128W", "F52T"});
    ASSERT_EQ(ids.size(), 2u);
    {
        library::FlightLibrary writer(lib.folder());
        ASSERT_TRUE(writer.open().ok());
        library::FlightFields fields;
        fields.site = "Black Rock";
        fields.comment = "Main out at 150 m";
        ASSERT_TRUE(writer.edit(ids[1], fields).ok());
    }
    std::optional<library::FlightRecord> arcas;
    for (const auto& r : lib.listFresh()) {
        if (r.id == ids[1]) {
            arcas = r;
        }
    }
    ASSERT_TRUE(arcas);
    auto* commands = window->findChild<ReportCommands*>();
    ASSERT_NE(commands, nullptr);
    ASSERT_TRUE(window->fileCommands().openFile(archiveFile(*arcas)));

    const QString pdf = lib.path("arcas.pdf");
    prompts.choose(pdf);
    menuAction(*window, command::kExportReport)->trigger();
    ASSERT_TRUE(commands->waitForWriting(10000));
    const QString printed = lib.path("printed.pdf");
    commands->setPrintSetup([&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    });
    menuAction(*window, command::kPrint)->trigger();
    const QString date = ui::FlightTableModel::localDate(arcas->downloadedAt);
    for (const QString& file : {pdf, printed}) {
        const QString text = testing::pdfText(file);
        ASSERT_FALSE(text.isEmpty()) << file.toStdString();
        for (const char* expected : {"Arcas", "F52T", "Black Rock", "Main out at 150 m"}) {
            EXPECT_TRUE(text.contains(QLatin1String(expected)))
                << expected << " missing from " << file.toStdString();
        }
        EXPECT_TRUE(text.contains(date)) << date.toStdString();
    }
    EXPECT_TRUE(prompts.boxes().empty());

    // The same flight saved by hand outside the library is a plain file: no fields.
    const QString copy = lib.path("copy.tev");
    ASSERT_TRUE(QFile::copy(archiveFile(*arcas), copy));
    ASSERT_TRUE(window->fileCommands().openFile(copy));
    const QString plain = lib.path("plain.pdf");
    prompts.choose(plain);
    menuAction(*window, command::kExportReport)->trigger();
    ASSERT_TRUE(commands->waitForWriting(10000));
    const QString text = testing::pdfText(plain);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_FALSE(text.contains("Arcas"));
    EXPECT_FALSE(text.contains("Black Rock"));
}

}  // namespace
}  // namespace tevusb::app
