// SPDX-License-Identifier: MIT
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "app/compare_menu.h"
#include "app/comparison_report_buttons.h"
#include "app/graph_widget.h"
#include "app/image_size_dialog.h"
#include "app/main_menu.h"
#include "app/report_menu.h"
#include "app/view_menu.h"
#include "app/view_preferences.h"
#include "app_fixture.h"
#include "report/image_export.h"
#include "support/pdf_tools.h"
#include "ui/compare/compare_flights_window.h"

namespace tevusb::app {
namespace {

using testing::AppTest;

struct ReportMenuTest : AppTest {
    void SetUp() override {
        AppTest::SetUp();
        openWindow();
        commands = m_window->findChild<ReportCommands*>();
        ASSERT_NE(commands, nullptr);
        commands->setSizeChooser([this](QWidget*, const QSize& initial) {
            offeredSize = initial;
            return chosenSize;
        });
    }
    void TearDown() override {
        AppTest::TearDown();
        // The view choices a test made are remembered; the next window starts as designed.
        ViewPreferences{}.save();
    }
    void openSample() {
        m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
        trigger(command::kOpen);
        ASSERT_GT(m_store.current.size(), 0u);
    }
    // Waits for the writer and lets its result reach the window.
    void settle() {
        ASSERT_TRUE(commands->waitForWriting(10000));
        QCoreApplication::processEvents();
    }
    static bool onePagePdf(const QString& path) {
        return tevusb::testing::pdfInfo(path).contains(
            QRegularExpression(QStringLiteral("Pages:\\s+1\\n")));
    }

    ReportCommands* commands = nullptr;
    QSize offeredSize;
    std::optional<QSize> chosenSize = QSize(500, 300);
};

TEST_F(ReportMenuTest, FileMenuOffersTheThreeCommandsAfterTheExports) {
    QMenu* file = m_window->findChild<QMenu*>(QStringLiteral("File"));
    ASSERT_NE(file, nullptr);
    QStringList shown;
    for (QAction* action : file->actions()) {
        shown << (action->isSeparator() ? QStringLiteral("-")
                                        : action->objectName() + ' ' + action->text());
    }
    const QStringList expected = {"40004 Open...",
                                  "41021 Open Recent",
                                  "41020 Flight Library...",
                                  "-",
                                  "40009 Export CSV...",
                                  "40016 Export XML...",
                                  "41040 Export Image...",
                                  "41041 Export Report...",
                                  "41042 Print...",
                                  "-",
                                  "40002 Exit"};
    EXPECT_EQ(shown, expected) << shown.join(" | ").toStdString();
}

TEST_F(ReportMenuTest, WithoutAFlightEachCommandSaysSoAndAsksNothingElse) {
    for (const int id : {command::kExportImage, command::kExportReport, command::kPrint}) {
        trigger(id);
    }
    EXPECT_TRUE(m_prompts.files().empty());
    ASSERT_EQ(m_prompts.boxes().size(), 3u);
    EXPECT_TRUE(m_prompts.boxes()[0].text.contains(QStringLiteral("no flight")));
    EXPECT_EQ(m_prompts.boxes()[0].caption, QStringLiteral("TEV USB 1.50"));
}

TEST_F(ReportMenuTest, ExportImageWritesPngOrSvgAtTheChosenSize) {
    openSample();
    const QString png = tempPath("graph.png");
    m_prompts.choose(png);
    trigger(command::kExportImage);
    settle();
    EXPECT_EQ(offeredSize, m_window->graphWidget()->size());
    EXPECT_EQ(QImage(png).size(), QSize(500, 300));
    const ui::FileDialogRequest request = m_prompts.files().back().request;
    EXPECT_EQ(request.mode, ui::FileDialogRequest::Mode::Save);
    EXPECT_TRUE(request.overwritePrompt);
    const QString svg = tempPath("graph.svg");
    if (report::svgAvailable()) {
        EXPECT_EQ(request.pattern, QStringLiteral("*.png *.svg"));
        m_prompts.choose(svg);
        trigger(command::kExportImage);
        settle();
        QFile file(svg);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains("viewBox=\"0 0 500 300\""));
        EXPECT_TRUE(m_prompts.boxes().empty());
    } else {
        // Not offered; typed anyway, it is refused by name and nothing is written.
        EXPECT_EQ(request.pattern, QStringLiteral("*.png"));
        m_prompts.choose(svg);
        trigger(command::kExportImage);
        settle();
        EXPECT_FALSE(QFile::exists(svg));
        ASSERT_EQ(m_prompts.boxes().size(), 1u);
        EXPECT_TRUE(m_prompts.boxes().back().text.contains(QStringLiteral("graph.svg")))
            << m_prompts.boxes().back().text.toStdString();
    }
    const std::size_t boxesBefore = m_prompts.boxes().size();

    // Cancelling the size writes nothing; a name that is neither is refused with a reason.
    chosenSize.reset();
    m_prompts.choose(tempPath("cancelled.png"));
    trigger(command::kExportImage);
    settle();
    EXPECT_FALSE(QFile::exists(tempPath("cancelled.png")));
    m_prompts.choose(tempPath("graph.jpg"));
    trigger(command::kExportImage);
    ASSERT_EQ(m_prompts.boxes().size(), boxesBefore + 1);
    EXPECT_TRUE(m_prompts.boxes().back().text.contains(
        report::svgAvailable() ? QStringLiteral(".png or .svg") : QStringLiteral(".png.")));
    EXPECT_FALSE(QFile::exists(tempPath("graph.jpg")));
}

// "What the graph shows": with the analysis view on, zoomed and imperial, a picture at the
// window's size is the window's own buffer, pixel for pixel.
TEST_F(ReportMenuTest, ExportImageAtWindowSizeIsTheShownPicture) {
    openSample();
    trigger(view_command::kAnalysisView);
    trigger(view_command::kImperial);
    m_window->graph().changeView(
        [](graph::AnalysisViewState& state) { state.window.zoomTo(5, 30); });
    m_window->graph().RedrawGraph();
    const QImage shown = m_window->surface().snapshot().convertToFormat(QImage::Format_RGB32);
    chosenSize = shown.size();
    const QString png = tempPath("shown.png");
    m_prompts.choose(png);
    trigger(command::kExportImage);
    settle();
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), shown);
}

TEST_F(ReportMenuTest, ExportReportWritesOnePagePdfAndReportsAFailedWrite) {
    openSample();
    const QString pdf = tempPath("flight.pdf");
    m_prompts.choose(pdf);
    trigger(command::kExportReport);
    settle();
    EXPECT_TRUE(onePagePdf(pdf));
    EXPECT_TRUE(m_prompts.boxes().empty());

    m_prompts.choose(tempPath("gone/flight.pdf"));
    trigger(command::kExportReport);
    settle();
    ASSERT_EQ(m_prompts.boxes().size(), 1u);
    EXPECT_TRUE(m_prompts.boxes()[0].text.contains(QStringLiteral("gone/flight.pdf")));
    EXPECT_EQ(m_prompts.boxes()[0].type, ui::kMbOk | ui::kMbIconHand);
}

TEST_F(ReportMenuTest, PrintRendersThePageOnTheChosenPrinterAndNothingWhenCancelled) {
    openSample();
    const QString out = tempPath("printed.pdf");
    bool accept = false;
    commands->setPrintSetup([&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        return accept;
    });
    trigger(command::kPrint);
    EXPECT_FALSE(QFile::exists(out));
    accept = true;
    trigger(command::kPrint);
    EXPECT_TRUE(onePagePdf(out));
    EXPECT_TRUE(m_prompts.boxes().empty());
}

TEST_F(ReportMenuTest, PrintGoesWithoutTheLibraryFieldsTheLibraryHasNotGivenByTheDialogsEnd) {
    openSample();
    // A library that answers only when the test lets it: held by another program, say.
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    commands->setLibraryLookup([&](const std::filesystem::path&) {
        std::unique_lock lock(mutex);
        opened.wait_for(lock, std::chrono::milliseconds(tevusb::testing::kWaitLimitMs),
                        [&] { return open; });
        LibraryReportFields library;
        library.fields.rocket = "Slowpoke";
        library.comment = "Kept in the library";
        return std::optional<LibraryReportFields>(library);
    });
    QString out;
    bool waitInDialog = false;
    commands->setPrintSetup([&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        // A flyer slow to answer the dialog gives the library all the time it needs.
        if (waitInDialog) {
            EXPECT_TRUE(commands->waitForLookup(tevusb::testing::kWaitLimitMs));
        }
        return true;
    });

    // The window prints at once, without what the library has not said.
    out = tempPath("unanswered.pdf");
    trigger(command::kPrint);
    EXPECT_TRUE(onePagePdf(out));
    EXPECT_FALSE(tevusb::testing::pdfText(out).contains(QStringLiteral("Slowpoke")));
    EXPECT_FALSE(commands->waitForLookup(0));
    {
        std::lock_guard lock(mutex);
        open = true;
    }
    opened.notify_all();
    ASSERT_TRUE(commands->waitForLookup(tevusb::testing::kWaitLimitMs));
    QCoreApplication::processEvents();

    out = tempPath("answered.pdf");
    waitInDialog = true;
    trigger(command::kPrint);
    const QString text = tevusb::testing::pdfText(out);
    EXPECT_TRUE(text.contains(QStringLiteral("Slowpoke")));
    EXPECT_TRUE(text.contains(QStringLiteral("Kept in the library")));
    EXPECT_TRUE(m_prompts.boxes().empty());
}

TEST(ImageSizeDialogTest, StartsAtTheWindowSizeKeepsSidesInBoundsAndResets) {
    ImageSizeDialog dialog(nullptr, QSize(812, 533));
    EXPECT_EQ(dialog.chosenSize(), QSize(812, 533));
    auto* width = dialog.findChild<QSpinBox*>(QStringLiteral("imageWidth"));
    auto* height = dialog.findChild<QSpinBox*>(QStringLiteral("imageHeight"));
    ASSERT_NE(width, nullptr);
    ASSERT_NE(height, nullptr);
    width->setValue(50000);
    height->setValue(1);
    EXPECT_EQ(dialog.chosenSize(), QSize(10000, 64));
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Window Size")) {
            button->click();
        }
    }
    EXPECT_EQ(dialog.chosenSize(), QSize(812, 533));
}

}  // namespace
}  // namespace tevusb::app

namespace tevusb::app {
namespace {

TEST_F(ReportMenuTest, ComparisonWindowExportsAndPrintsItsPage) {
    openSample();
    trigger(view_command::kCompareFlights);
    auto* compare = m_window->findChild<ui::CompareFlightsWindow*>();
    ASSERT_NE(compare, nullptr);
    ASSERT_EQ(compare->flights().size(), 1u);
    graph::ComparedFlight second = compare->flights().front();
    second.name = QStringLiteral("Second look");
    compare->addFlight(std::move(second));

    const QString pdf = tempPath("compare.pdf");
    m_prompts.choose(pdf);
    auto* exportButton = compare->findChild<QPushButton*>(kCompareExportReport);
    ASSERT_NE(exportButton, nullptr);
    exportButton->click();
    EXPECT_TRUE(onePagePdf(pdf));
    EXPECT_TRUE(m_prompts.boxes().empty());

    const QString printed = tempPath("compare-printed.pdf");
    setComparisonPrintSetup([&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    });
    compare->findChild<QPushButton*>(kComparePrint)->click();
    setComparisonPrintSetup({});
    EXPECT_TRUE(onePagePdf(printed));

    // With every flight removed there is nothing to put on a page.
    compare->removeFlight(1);
    compare->removeFlight(0);
    m_prompts.choose(tempPath("empty.pdf"));
    exportButton->click();
    ASSERT_EQ(m_prompts.boxes().size(), 1u);
    EXPECT_FALSE(QFile::exists(tempPath("empty.pdf")));
    compare->close();
}

}  // namespace
}  // namespace tevusb::app
