// SPDX-License-Identifier: MIT
// The bench-test report that opens when an emulation ends in the Control Options dialog.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <nlohmann/json.hpp>

#include "analysis/emulation_report_text.h"
#include "support/dialog_fixture.h"
#include "support/log_capture.h"
#include "support/pdf_tools.h"
#include "support/screenshot.h"
#include "support/temp_dir.h"
#include "ui/dialogs/control_options_window.h"
#include "ui/emulation_report_window.h"

namespace tevusb::ui {
namespace {

using namespace std::chrono_literals;
using testing::SimRig;
using testing::waitUntil;

constexpr int kEmulate = 1039;

struct ReportWindowTest : ::testing::Test {
    void SetUp() override {
        delete EmulationReportWindow::current();
        ASSERT_EQ(rig.device.connect(device::ConnectMode::Application), device::result::kConnected);
        ASSERT_EQ(rig.device.readFlightMemory(nullptr, nullptr), 0);
        ASSERT_TRUE(rig.graph.ShowSet(2));  // the shortest flight, as the main window shows it
    }
    void TearDown() override { delete EmulationReportWindow::current(); }

    tevusb::testing::LogCapture quiet;
    SimRig rig;
};

TEST_F(ReportWindowTest, TheReportOpensWhenTheEmulationEndsAndTheStatusStaysAsDesigned) {
    rig.graph.setUnits(analysis::UnitSystem::Imperial);
    CControlOptionsWindow dialog(nullptr, &rig.graph);
    std::vector<analysis::EmulationReport> heard;
    dialog.setReportListener([&](const analysis::EmulationReport& r) { heard.push_back(r); });
    ASSERT_TRUE(testing::open(dialog, rig.device));
    const qsizetype start = dialog.statusText().size();
    ASSERT_TRUE(testing::press(dialog, kEmulate));
    ASSERT_TRUE(waitUntil([&] { return EmulationReportWindow::current() != nullptr; }, 20000));
    EmulationReportWindow* window = EmulationReportWindow::current();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->objectName(), "EmulationReportWindow");
    ASSERT_EQ(heard.size(), 1u);
    const auto raised = rig.sim().emulationEvents();
    ASSERT_EQ(heard[0].events.size(), raised.size());
    for (std::size_t i = 0; i < raised.size(); ++i) {
        ASSERT_TRUE(heard[0].events[i].at);
        EXPECT_EQ(heard[0].events[i].at->sample, raised[i].sample);
    }
    EXPECT_TRUE(heard[0].settingsFromDevice);
    EXPECT_EQ(window->text().toStdString(),
              analysis::formatEmulationReport(heard[0], analysis::UnitSystem::Imperial));
    // Each line's verdict word leads the window, above the details.
    const auto* verdicts = window->findChild<QLabel*>("verdicts");
    ASSERT_NE(verdicts, nullptr);
    for (const auto* line : {&heard[0].lineA, &heard[0].lineB}) {
        const std::string word = analysis::verdictWord(analysis::verdictOf(*line));
        EXPECT_TRUE(verdicts->text().contains(QString::fromStdString(word + "</b>")));
    }
    // The events are on the graph's analysis view, at their times, until another flight.
    // Events of one sample share a marker: one per distinct sample, at its time.
    const auto markers = rig.graph.viewState().extraMarkers;
    std::vector<int> samples;
    for (const auto& e : raised) {
        if (samples.empty() || samples.back() != e.sample) {
            samples.push_back(e.sample);
        }
    }
    ASSERT_EQ(markers.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_DOUBLE_EQ(markers[i].timeS, samples[i] / 10.0);
    }
    EXPECT_EQ(markers.front().label, "Emu launch");
    EXPECT_EQ(markers[1].label, "Emu apogee + A + B") << "this flight peaks below Line B's 150 m";
    rig.graph.setAnalysisView(true);
    rig.graph.RedrawGraph();
    EXPECT_TRUE(tevusb::testing::saveShot(rig.surface.snapshot(), "emulation_markers.png"));
    // Only the designed entries in the dialog: the report lives in its own window.
    const QString events = dialog.statusText().mid(start);
    EXPECT_TRUE(events.startsWith("Emulating...\r\n"));
    EXPECT_TRUE(events.endsWith("Device indicates end of launch.\r\nDone.\r\n"))
        << events.toStdString();
    EXPECT_FALSE(events.contains("Line A:"));
    ASSERT_TRUE(testing::closeDialog(dialog));
    EXPECT_EQ(EmulationReportWindow::current(), window) << "outlives the dialog";
    ASSERT_TRUE(rig.graph.ShowSet(0));
    EXPECT_TRUE(rig.graph.viewState().extraMarkers.empty());

    // A picture to look at, as a flyer would see the report.
    EXPECT_TRUE(tevusb::testing::saveShot(*window, "emulation_report.png"));
}

TEST_F(ReportWindowTest, SavesTextAndJsonThroughThePromptsAndSaysWhenItCannot) {
    analysis::EmulationReport report;
    report.events.push_back({14, 12, analysis::FlightPoint{11, 1.1, 20.5, 40.0}});
    report.lineA.mode = settings::LineMode::Apogee;
    report.lineA.rawMode = 2;
    report.lineB.name = 'B';
    report.lineB.verdict = analysis::LineVerdict::NotSetToFire;
    EmulationReportWindow* window =
        EmulationReportWindow::present(report, analysis::UnitSystem::Imperial);
    tevusb::testing::TempDir dir;
    rig.prompts.choose(QString::fromStdString((dir / "bench.txt").string()));
    ASSERT_TRUE(window->saveText());
    EXPECT_EQ(tevusb::testing::readAll(dir / "bench.txt"),
              analysis::formatEmulationReport(report, analysis::UnitSystem::Imperial));
    rig.prompts.choose(QString::fromStdString((dir / "bench.json").string()));
    ASSERT_TRUE(window->saveJson());
    const auto j = nlohmann::json::parse(tevusb::testing::readAll(dir / "bench.json"));
    EXPECT_EQ(j["events"][0]["sample"], 11);
    ASSERT_GE(rig.prompts.files().size(), 2u);
    EXPECT_EQ(rig.prompts.files()[1].request.pattern, "*.json");
    EXPECT_TRUE(rig.prompts.files()[1].request.overwritePrompt);

    // The PDF carries the same verdict words as the window and the command line.
    rig.prompts.choose(QString::fromStdString((dir / "bench.pdf").string()));
    ASSERT_TRUE(window->savePdf());
    const QString pdf =
        tevusb::testing::pdfText(QString::fromStdString((dir / "bench.pdf").string()));
    EXPECT_TRUE(pdf.contains(QRegularExpression("FAIL +Line A: Apogee: did not fire")))
        << pdf.toStdString();
    EXPECT_TRUE(pdf.contains(QRegularExpression("PASS +Line B: Disabled: not set to fire")))
        << pdf.toStdString();

    rig.prompts.choose(QString());
    EXPECT_FALSE(window->saveText()) << "cancelled";
    rig.prompts.choose(QString::fromStdString((dir / "missing" / "bench.txt").string()));
    EXPECT_FALSE(window->saveText());
    ASSERT_EQ(rig.prompts.boxes().size(), 1u);
    EXPECT_TRUE(rig.prompts.boxes()[0].text.startsWith("The report could not be written"));
}

TEST_F(ReportWindowTest, ClosingTheDialogDuringAnEmulationOpensNoReport) {
    device::sim::SimTiming timing = device::sim::SimTiming::instant();
    timing.samplePace = 5ms;
    rig.sim().setTiming(timing);
    CControlOptionsWindow dialog(nullptr, nullptr);
    ASSERT_TRUE(testing::open(dialog, rig.device));
    ASSERT_TRUE(testing::press(dialog, kEmulate));
    ASSERT_TRUE(waitUntil([&] { return dialog.statusText().contains("Launch Time (s): 1\r\n"); }));
    ASSERT_TRUE(testing::closeDialog(dialog));
    QTest::qWait(50);
    EXPECT_EQ(EmulationReportWindow::current(), nullptr);
}

}  // namespace
}  // namespace tevusb::ui
