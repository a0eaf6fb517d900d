// SPDX-License-Identifier: MIT
// The Rocket Profiles and Pre-flight Check windows offscreen, on the simulated altimeter and
// a library in a folder of the test's own.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>

#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "library/rocket_profiles.h"
#include "support/dialog_fixture.h"
#include "support/scoped_library.h"
#include "support/screenshot.h"
#include "support/wait.h"
#include "ui/dialogs/preflight_window.h"
#include "ui/dialogs/profiles_window.h"
#include "ui/library_service.h"
#include "ui/scripted_prompts.h"

namespace tevusb::ui {
namespace {

using tevusb::testing::waitUntil;

using tevusb::testing::saveShot;

settings::RocketProfile profile(const char* name, std::uint8_t lineBMode,
                                std::optional<std::uint16_t> lineB) {
    settings::RocketProfile p;
    p.name = name;
    p.lineB = {lineBMode, lineB};
    return p;
}

class PreflightWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        device::sim::SimConfig config;
        config.timing = device::sim::SimTiming::instant();
        m_backend = std::make_shared<device::sim::SimBackend>(config);
        auto backend = m_backend;
        device::setDeviceBackendFactory([backend] { return backend; });
        m_previous = setUserPrompts(&m_prompts);
        const auto lib = libraryService().acquire();
        ASSERT_TRUE(lib);
        ASSERT_TRUE(library::saveProfile(*lib, profile("Nova", 3, 200)).ok());
        ASSERT_TRUE(library::saveProfile(*lib, profile("Vega", 0, std::nullopt)).ok());
        ASSERT_TRUE(library::saveProfile(*lib, profile("Slowpoke", 1, 80)).ok());
    }
    void TearDown() override {
        setUserPrompts(m_previous);
        device::theDevice().disconnect();
        device::setDeviceBackendFactory(nullptr);
    }
    device::sim::SimAltimeter& sim() { return m_backend->altimeter(); }
    std::vector<data::MemoryPacket> memory() {
        std::vector<data::MemoryPacket> packets;
        for (int i = 0; i < sim().usedPackets(); ++i) {
            packets.push_back(sim().packet(i));
        }
        return packets;
    }
    // One new flight on the altimeter, none the library has seen.
    void flyOnce() {
        sim().loadFlights(1);
        data::MemoryPacket p = sim().packet(1);
        p.setWord(5, static_cast<std::uint16_t>(p.reading(4) ^ 0x3));
        sim().setPacket(1, p);
    }
    template <class T>
    static T* child(QWidget& window, const char* name) {
        return window.findChild<T*>(QString::fromUtf8(name));
    }

    tevusb::testing::LogCapture m_log;
    tevusb::testing::ScopedLibrary m_library;
    std::shared_ptr<device::sim::SimBackend> m_backend;
    ScriptedPrompts m_prompts;
    UserPrompts* m_previous = nullptr;
};

TEST_F(PreflightWindows, ProfilesWindowShowsTheDifferencesAndAsksBeforeWriting) {
    ASSERT_TRUE(m_library.keep(memory()));
    ProfilesWindow window(libraryService(), analysis::UnitSystem::Metric);
    window.start();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    auto* list = child<QListWidget>(window, "ProfileList");
    ASSERT_EQ(list->count(), 3);
    list->setCurrentRow(list->row(list->findItems("Nova", Qt::MatchExactly).front()));
    EXPECT_EQ(child<QLineEdit>(window, "LineBValue")->text(), "200");

    // Declined: the question defaults to No and nothing reaches the altimeter.
    child<QPushButton>(window, "ApplyToAltimeter")->click();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    ASSERT_FALSE(m_prompts.boxes().empty());
    const auto asked = m_prompts.boxes().back();
    EXPECT_TRUE(
        asked.text.contains(QString::fromUtf8("Line B: Altitude 150 m \u2192 Altitude 200 m")))
        << asked.text.toStdString();
    EXPECT_FALSE(asked.text.contains("Line A")) << "only what changes is asked about";
    EXPECT_TRUE(asked.onWindowThread);  // put there by the worker, which waits for it
    EXPECT_EQ(sim().settingsWrites(), 0);
    EXPECT_TRUE(child<QLabel>(window, "Status")->text().contains("Nothing was written."));

    m_prompts.answer(MessageResult::Yes);
    child<QPushButton>(window, "ApplyToAltimeter")->click();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    EXPECT_EQ(sim().settingsWrites(), 1);
    auto* differences = child<QListWidget>(window, "Differences");
    ASSERT_EQ(differences->count(), 3);
    EXPECT_EQ(differences->item(0)->text(), "Line A: Apogee (no change)");
    EXPECT_EQ(differences->item(1)->text(),
              QString::fromUtf8("Line B: Altitude 150 m \u2192 Altitude 200 m"));
    EXPECT_TRUE(differences->item(1)->font().bold());
    EXPECT_TRUE(child<QLabel>(window, "Status")->text().contains("holds the profile \"Nova\""))
        << child<QLabel>(window, "Status")->text().toStdString();
    EXPECT_TRUE(saveShot(window, "profiles_window_difference.png"));

    // What the altimeter cannot hold is refused at entry, with the reason.
    child<QLineEdit>(window, "LineBValue")->setText("99999");
    child<QPushButton>(window, "Save")->click();
    EXPECT_TRUE(child<QLabel>(window, "Status")
                    ->text()
                    .contains("Line B altitude: 99999 m is out of range"));
    EXPECT_EQ(library::findProfile(*libraryService().acquire(), "Nova")->lineB.value, 200);
}

TEST_F(PreflightWindows, CheckGoesFromNoGoToGoThroughTheOfferedDownload) {
    ASSERT_TRUE(m_library.keep(memory()));
    PreflightWindow window(libraryService(), analysis::UnitSystem::Metric);
    // The Download Data dialog would archive the flight; here the library keeps it directly.
    bool downloadOpened = false;
    window.setDownloadOpener([&] {
        downloadOpened = true;
        m_library.keep(memory());
    });
    window.start();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    auto* profiles = child<QComboBox>(window, "Profile");
    ASSERT_EQ(profiles->count(), 3);
    profiles->setCurrentText("Nova");

    // Settings differ: apply the profile from here (Yes), then a flight is made.
    window.check();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    auto* banner = child<QLabel>(window, "Verdict");
    EXPECT_TRUE(banner->text().startsWith(QString::fromUtf8("NO-GO \u2014 Not as the profile")));
    auto* apply = child<QPushButton>(window, "ApplyProfile");
    ASSERT_FALSE(apply->isHidden());
    m_prompts.answer(MessageResult::Yes);
    apply->click();
    ASSERT_TRUE(waitUntil([&] { return !window.busy() && sim().settingsWrites() == 1; }));
    ASSERT_TRUE(waitUntil([&] {
        return !window.busy() && window.result() &&
               window.result()->value.report.items[0].status == data::CheckStatus::Ok;
    }));
    flyOnce();

    window.check();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    EXPECT_EQ(banner->text(),
              QString::fromUtf8("NO-GO \u2014 1 flight on the altimeter is not in your library: "
                                "download it before clearing (%1 of 128 packets used).")
                  .arg(sim().usedPackets()));
    EXPECT_TRUE(banner->styleSheet().contains("#b3261e"));
    auto* items = child<QTableWidget>(window, "Items");
    ASSERT_EQ(items->rowCount(), 5);
    EXPECT_EQ(items->item(2, 0)->text(), "memory");
    EXPECT_EQ(items->item(2, 1)->text(), "NO-GO");
    EXPECT_TRUE(child<QPushButton>(window, "ClearMemory")->isHidden());
    auto* download = child<QPushButton>(window, "DownloadFlights");
    ASSERT_FALSE(download->isHidden());
    EXPECT_TRUE(saveShot(window, "preflight_no_go.png"));

    download->click();
    EXPECT_TRUE(downloadOpened);
    window.check();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    EXPECT_TRUE(banner->text().startsWith(
        QString::fromUtf8("GO \u2014 ready for flight with the profile \"Nova\"")))
        << banner->text().toStdString();
    EXPECT_TRUE(banner->styleSheet().contains("#1e7b34"));
    EXPECT_EQ(items->item(2, 1)->text(), "WARNING");
    auto* clear = child<QPushButton>(window, "ClearMemory");
    ASSERT_FALSE(clear->isHidden());
    EXPECT_TRUE(download->isHidden());
    EXPECT_TRUE(saveShot(window, "preflight_go.png"));

    // Clearing asks first (No by default), then empties the memory and checks again.
    clear->click();
    EXPECT_GT(sim().usedPackets(), 0);
    m_prompts.answer(MessageResult::Yes);
    clear->click();
    ASSERT_TRUE(waitUntil([&] {
        return !window.busy() && sim().usedPackets() == 0 && window.result() &&
               window.result()->value.report.flightsOnDevice == 0;
    }));
    EXPECT_EQ(items->item(2, 1)->text(), "OK");
}

TEST_F(PreflightWindows, AnAbsentAltimeterIsSaidInTheBannerNotAsAVerdict) {
    sim().detach();
    PreflightWindow window(libraryService(), analysis::UnitSystem::Metric);
    window.start();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    window.check();
    ASSERT_TRUE(waitUntil([&] { return !window.busy(); }));
    auto* banner = child<QLabel>(window, "Verdict");
    EXPECT_TRUE(
        banner->text().startsWith(QString::fromUtf8("NOT CHECKED \u2014 Device not found.")))
        << banner->text().toStdString();
    EXPECT_FALSE(banner->text().contains("GO \u2014"));
}

TEST_F(PreflightWindows, BothWindowsOpenWholeOnTheMainWindowsScreen) {
    sim().detach();
    QWidget main;
    main.show();
    ASSERT_NE(main.screen(), nullptr);
    const QRect screen = main.screen()->availableGeometry();
    PreflightWindow preflight(libraryService(), analysis::UnitSystem::Metric, &main);
    ProfilesWindow profiles(libraryService(), analysis::UnitSystem::Metric, &main);
    for (QDialog* window : {static_cast<QDialog*>(&preflight), static_cast<QDialog*>(&profiles)}) {
        window->resize(screen.size() * 2);
    }
    preflight.start();
    profiles.start();
    ASSERT_TRUE(waitUntil([&] { return !preflight.busy() && !profiles.busy(); }));
    for (QDialog* window : {static_cast<QDialog*>(&preflight), static_cast<QDialog*>(&profiles)}) {
        EXPECT_TRUE(window->isVisible()) << window->objectName().toStdString();
        EXPECT_TRUE(screen.contains(window->geometry())) << window->objectName().toStdString();
    }
}

}  // namespace
}  // namespace tevusb::ui
