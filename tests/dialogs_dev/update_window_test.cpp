// SPDX-License-Identifier: MIT
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "support/dialog_fixture.h"
#include "support/firmware_builder.h"
#include "support/screenshot.h"
#include "ui/dialogs/device_hints.h"
#include "ui/dialogs/update_ids.h"
#include "ui/dialogs/update_window.h"
#include "ui/message_box.h"

namespace tevusb::ui::testing {
namespace {

using namespace update_ids;

using device::testing::FirmwareBuilder;

const QString kConnected =
    QStringLiteral("Device connected in bootloader mode.\r\nDevice bootloader version: 1.10\r\n");

QString progressLines() {
    QString lines;
    for (int tens = 10; tens <= 100; tens += 10) {
        lines += QString::number(tens) + "%\r\n";
    }
    return lines;
}

class UpdateTest : public DialogFixture {
  protected:
    void SetUp() override {
        DialogFixture::SetUp();
        CUpdateWindow::resetShownProgress();
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override {
        m_dialog.reset();
        DialogFixture::TearDown();
    }

    static device::sim::SimConfig bootloader() {
        auto config = instant();
        config.bootloader = true;
        return config;
    }
    void open(const device::sim::SimConfig& config = bootloader()) {
        m_dialog.reset();  // it still uses the device of the bus it was opened on
        makeBus(config);
        m_dialog = std::make_unique<CUpdateWindow>(nullptr);
        m_dialog->setDevice(m_device.get());
        ASSERT_TRUE(m_dialog->create(nullptr));
        m_dialog->window()->show();
        waitUntil([] { return true; });
    }
    QWidget* item(int id) { return m_dialog->item(id); }
    QString status() { return m_dialog->statusText(); }

    // A firmware file of `blocks` filled blocks, as the user picks it next.
    QString pick(const FirmwareBuilder& builder) {
        const QString path = m_dir.filePath(QStringLiteral("firmware.dat"));
        const auto bytes = builder.bytes();
        std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        m_prompts.choose(path);
        return path;
    }
    static FirmwareBuilder firmware(int blocks) {
        FirmwareBuilder builder;
        for (int i = 0; i < blocks; ++i) {
            builder.fillBlock(i);
        }
        builder.length = blocks * 64;
        return builder;
    }
    void update() {
        click(item(kUpdate));
        ASSERT_TRUE(waitUntil([this] { return !m_dialog->updating(); }, 20000));
    }
    bool flashHolds(const FirmwareBuilder& builder) {
        const auto flash = sim().flash();
        return std::equal(flash.begin(), flash.end(), builder.image.begin(), builder.image.end());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CUpdateWindow> m_dialog;
};

TEST_F(UpdateTest, ConnectCheckTexts) {
    {
        auto config = instant();  // application firmware
        open(config);
        EXPECT_EQ(status(),
                  "Device found, but is not in bootloader mode.\r\n"
                  "Please reconnect the device in bootloader mode.\r\n");
        EXPECT_FALSE(m_device->link.isOpen());
        EXPECT_FALSE(isEnabled(item(kUpdate)));
        EXPECT_TRUE(isEnabled(item(kClose)));
    }
    {
        auto config = bootloader();
        config.bootloaderVersion = 0x0105;
        open(config);
        EXPECT_EQ(status(),
                  "Device found in bootloader mode, but has incompatible bootloader version.\r\n"
                  "Current device bootloader version: 1.05\r\n"
                  "Required device bootloader version: 1.10\r\n");
        EXPECT_FALSE(isEnabled(item(kUpdate)));
    }
    {
        open();
        EXPECT_EQ(status(), kConnected);
        EXPECT_TRUE(m_device->link.isOpen());
        EXPECT_TRUE(isEnabled(item(kUpdate)));
    }
}

TEST_F(UpdateTest, DevicePluggedInWhileOpenConnectsIt) {
    auto config = bootloader();
    config.attached = false;
    open(config);
    EXPECT_EQ(status(), "Device not found.\r\n");
    EXPECT_FALSE(isEnabled(item(kUpdate)));
    sim().attach();
    ASSERT_TRUE(waitUntil([this] { return isEnabled(item(kUpdate)); }));
    EXPECT_EQ(status(), "Device not found.\r\n" + kConnected);
}

TEST_F(UpdateTest, UpdateWritesTheFilesImageWithProgressInTens) {
    open();
    const FirmwareBuilder builder = firmware(100);
    const QString path = pick(builder);
    update();
    EXPECT_EQ(status(), kConnected + "Updating firmware...\r\n" + progressLines() +
                            "New firmware version: 1.50\r\nFirmware updated successfully.\r\n");
    EXPECT_TRUE(flashHolds(builder));
    EXPECT_EQ(m_dialog->firmwarePath(), path);
    EXPECT_TRUE(m_log.contains("Firmware file: " + path.toStdString() + "\n"));

    const auto files = m_prompts.files();
    ASSERT_EQ(files.size(), 1U);
    EXPECT_EQ(files[0].request.mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(files[0].request.title, "Load Firmware file");
    EXPECT_EQ(files[0].request.filterName, "Firmware Code");
    EXPECT_EQ(files[0].request.pattern, "*.dat");
    EXPECT_EQ(files[0].request.defaultSuffix, "dat");
    EXPECT_TRUE(isEnabled(item(kUpdate)));
    EXPECT_TRUE(isEnabled(item(kClose)));
    EXPECT_TRUE(tevusb::testing::saveShot(*m_dialog->window(), "update_firmware.png"));

    // The tens shown belong to the run: a second update that ends on 100 again starts
    // with 0%.
    pick(builder);
    update();
    EXPECT_TRUE(
        status().endsWith("Updating firmware...\r\n0%\r\n" + progressLines() +
                          "New firmware version: 1.50\r\nFirmware updated successfully.\r\n"));
}

TEST_F(UpdateTest, CancelledFileDialogStartsNothing) {
    open();
    m_prompts.choose(QString());
    click(item(kUpdate));
    EXPECT_FALSE(m_dialog->updating());
    EXPECT_FALSE(m_dialog->worker().started());
    EXPECT_EQ(status(), kConnected);
    EXPECT_TRUE(isEnabled(item(kUpdate)));
}

struct FailureCase {
    const char* name;
    std::function<void(FirmwareBuilder&)> file;
    std::function<void(device::sim::SimAltimeter&)> device;
    QString lines;
};

TEST_F(UpdateTest, EachFailureShowsItsTextAndLeavesTheDialogUsable) {
    const QString removed = QStringLiteral(
        "This was most likely caused by prematurely removing the device.\r\n"
        "Please reconnect and try again.\r\n");
    const std::vector<FailureCase> cases = {
        {"file version", [](FirmwareBuilder& b) { b.formatVersion = 0x0200; }, nullptr,
         "Incorrect file version.\r\nFile version: 2.00\r\nExpected version: 1.00\r\n"},
        {"bootloader", [](FirmwareBuilder& b) { b.bootloaderVersion = 0x0120; }, nullptr,
         "The firmware version is not intended for use with this bootloader version.\r\n"
         "Your bootloader version: 1.20\r\nExpected version: 1.10\r\n"},
        {"firmware", [](FirmwareBuilder& b) { b.firmwareVersion = 0x0160; }, nullptr,
         "The firmware version is not intended for use with this software version.\r\n"
         "New firmware version: 1.60\r\nExpected version: 1.50\r\n"},
        {"hardware", nullptr, [](device::sim::SimAltimeter& s) { s.setHardwareVersion(0x0130); },
         "The firmware version is not intended for use with your hardware version.\r\n"
         "Your hardware version: 1.30\r\nExpected version: 1.20\r\n"},
        {"protocol", nullptr, [](device::sim::SimAltimeter& s) { s.injectWrongCode(3, 0x00); },
         "There was a protocol error.\r\n" + removed},
        {"time-out", nullptr, [](device::sim::SimAltimeter& s) { s.injectSilenceFromReport(2); },
         "There was a timeout on a read operation.\r\n" + removed},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        FirmwareBuilder builder = firmware(20);
        if (c.file) {
            c.file(builder);
        }
        if (c.device) {
            c.device(sim());
        }
        pick(builder);
        update();
        EXPECT_TRUE(status().endsWith(c.lines + "Failed to update firmware.\r\n"))
            << status().toStdString();
        EXPECT_FALSE(status().contains(QStringLiteral("successfully")));
        EXPECT_TRUE(isEnabled(item(kClose)));
    }
}

TEST_F(UpdateTest, FilesThatAreNoFirmwareAreRefusedBeforeTheDevice) {
    open();
    m_prompts.choose(m_dir.filePath(QStringLiteral("missing.dat")));
    update();
    EXPECT_TRUE(
        status().endsWith("The file could not be opened.\r\nFailed to update firmware.\r\n"));

    const QString path = m_dir.filePath(QStringLiteral("notes.dat"));
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << std::string(200, 'x');
    }
    m_prompts.choose(path);
    update();
    EXPECT_TRUE(
        status().endsWith("This is not a valid firmware file.\r\nFailed to update firmware.\r\n"));
    EXPECT_EQ(sim().bootReportsReceived(), 0);
    EXPECT_TRUE(isEnabled(item(kUpdate)));
}

TEST_F(UpdateTest, UpdateWithTheLinkGoneSaysSo) {
    open();
    m_device->link.close();
    pick(firmware(4));
    m_dialog->sendMessage({Message::Command, kUpdate, 0, {}});
    ASSERT_TRUE(waitUntil([this] { return !m_dialog->updating(); }));
    EXPECT_EQ(
        status(),
        kConnected + "Altimeter not found. Make sure it is properly connected to the PC.\r\n");
    EXPECT_FALSE(isEnabled(item(kUpdate)));
    EXPECT_TRUE(isEnabled(item(kClose)));
}

// Slow enough that the test can act while the update runs: 1024 blocks, 2 ms each.
class RunningUpdateTest : public UpdateTest {
  protected:
    void start() {
        auto config = bootloader();
        config.timing.reportDelay = std::chrono::microseconds(2000);
        open(config);
        m_builder = firmware(1024);
        pick(m_builder);
        click(item(kUpdate));
        ASSERT_TRUE(waitUntil([this] { return status().contains("10%\r\n"); }));
        ASSERT_TRUE(m_dialog->updating());
    }
    void finish() {
        ASSERT_TRUE(waitUntil([this] { return !m_dialog->updating(); }, 30000));
    }
    FirmwareBuilder m_builder;
};

TEST_F(RunningUpdateTest, CloseAndEscapeAreRefusedWhileUpdating) {
    start();
    EXPECT_FALSE(isEnabled(item(kUpdate)));
    EXPECT_FALSE(isEnabled(item(kClose)));
    EXPECT_TRUE(tevusb::testing::saveShot(*m_dialog->window(), "update_firmware_running.png"));
    QTest::keyClick(m_dialog->window(), Qt::Key_Escape);
    m_dialog->window()->close();
    const auto boxes = m_prompts.boxes();
    ASSERT_EQ(boxes.size(), 2U);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.text, messageText(114));
        EXPECT_EQ(box.type, kMbOk | kMbIconExclamation);
    }
    EXPECT_TRUE(m_dialog->window()->isVisible());
    EXPECT_FALSE(m_device->cancelRequested());
    finish();
    EXPECT_TRUE(status().endsWith("Firmware updated successfully.\r\n"));
    EXPECT_TRUE(flashHolds(m_builder));

    QTest::keyClick(m_dialog->window(), Qt::Key_Escape);
    EXPECT_FALSE(m_dialog->window()->isVisible());
    EXPECT_TRUE(
        m_log.contains("Canceled IO.\nWaiting for thread to close...\nThread has exited.\n"));
    EXPECT_EQ(m_prompts.boxes().size(), 2U);
}

TEST_F(RunningUpdateTest, ArrivalDuringTheUpdateWaitsUntilItEnds) {
    start();
    m_backend->addForeignDevice({"/dev/hidraw-other", 0x046D, 0xC52B, 0x1200});
    // Until the window thread has heard of the arrival, held back or handled.
    ASSERT_TRUE(waitUntil([this] {
        return m_log.contains("Device change held") || m_log.contains("Device Change.\n");
    }));
    EXPECT_FALSE(status().contains(kConnected + kConnected));
    finish();
    EXPECT_TRUE(flashHolds(m_builder));
    // Handled once the update had ended: the check ran again and found the bootloader.
    EXPECT_TRUE(status().endsWith("Firmware updated successfully.\r\n" + kConnected))
        << status().toStdString();
    EXPECT_TRUE(isEnabled(item(kUpdate)));
}

TEST_F(RunningUpdateTest, RemovalDuringTheUpdateFailsItAndIsReportedAfterwards) {
    start();
    sim().detach();
    finish();
    ASSERT_TRUE(waitUntil(
        [this] { return status().endsWith(QStringLiteral("Device disconnected.\r\n")); }));
    const QString text = status();
    EXPECT_TRUE(text.contains("Failed to update firmware.\r\nDevice disconnected.\r\n"))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("successfully")));
    EXPECT_FALSE(m_device->link.isOpen());
    EXPECT_FALSE(isEnabled(item(kUpdate)));
    EXPECT_TRUE(isEnabled(item(kClose)));
}

TEST_F(UpdateTest, ClosingWithoutUpdateEndsAtOnceAndDestructionClosesTheLink) {
    open();
    ASSERT_TRUE(m_device->link.isOpen());
    click(item(kClose));
    EXPECT_FALSE(m_dialog->window()->isVisible());
    EXPECT_TRUE(
        m_log.contains("Canceled IO.\nWaiting for thread to close...\nThread has exited.\n"));
    m_dialog.reset();
    EXPECT_FALSE(m_device->link.isOpen());
    EXPECT_FALSE(m_device->cancelRequested());
    EXPECT_TRUE(m_log.contains("DESTRUCT\n"));
}

// The lines beyond the design: a hint after the status lines while no bootloader answers,
// and the update's progress on a bar beside them.

QString shownStatus(CUpdateWindow& dialog) {
    return qobject_cast<QPlainTextEdit*>(dialog.item(kStatus))->toPlainText();
}

TEST_F(UpdateTest, TheBootloaderHintFollowsTheLinesUntilTheBootloaderAnswers) {
    const QString hint = bootloaderHint();
    EXPECT_TRUE(hint.contains("03db:0001"));
    EXPECT_TRUE(hint.contains("cannot switch"));
    // The application firmware answers: the designed lines, then the hint.
    open(instant());
    EXPECT_EQ(status(),
              "Device found, but is not in bootloader mode.\r\n"
              "Please reconnect the device in bootloader mode.\r\n");
    ASSERT_TRUE(waitUntil([this, &hint] {
        return shownStatus(*m_dialog) ==
               "Device found, but is not in bootloader mode.\n"
               "Please reconnect the device in bootloader mode.\n" +
                   hint.chopped(2);
    }));
    EXPECT_TRUE(
        tevusb::testing::saveShot(*m_dialog->window(), "update_firmware_bootloader_hint.png"));
    // A bootloader too old: the lines say it all.
    auto old = bootloader();
    old.bootloaderVersion = 0x0105;
    open(old);
    ASSERT_TRUE(waitUntil([this] { return shownStatus(*m_dialog).endsWith("version: 1.10"); }));
    // Nothing attached: the hint until the bootloader is plugged in.
    auto absent = bootloader();
    absent.attached = false;
    open(absent);
    ASSERT_TRUE(waitUntil([this, &hint] {
        return shownStatus(*m_dialog) == "Device not found.\n" + hint.chopped(2);
    }));
    sim().attach();
    ASSERT_TRUE(waitUntil([this] { return isEnabled(item(kUpdate)); }));
    ASSERT_TRUE(waitUntil([this] {
        return shownStatus(*m_dialog) ==
               "Device not found.\nDevice connected in bootloader mode.\n"
               "Device bootloader version: 1.10";
    }));
}

TEST_F(RunningUpdateTest, TheBarFollowsTheBlocksBesideTheDesignedControls) {
    start();
    auto* bar = qobject_cast<QProgressBar*>(item(kProgress));
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(waitUntil([bar] { return bar->value() >= 10; }));
    EXPECT_TRUE(tevusb::testing::saveShot(*m_dialog->window(), "update_firmware_progress.png"));
    finish();
    ASSERT_TRUE(waitUntil([bar] { return bar->value() == 100; }));
    EXPECT_TRUE(status().endsWith("Firmware updated successfully.\r\n"));
    // Inside the dialog, over none of its controls, also when the dialog grows: it keeps
    // its distance to "Update..." and to the bottom edge.
    const int gap = item(kUpdate)->x() - bar->geometry().right();
    const int below = m_dialog->window()->height() - bar->geometry().bottom();
    for (const QSize grow : {QSize(0, 0), QSize(80, 60)}) {
        m_dialog->window()->resize(m_dialog->window()->size() + grow);
        ASSERT_TRUE(waitUntil([] { return true; }));
        EXPECT_TRUE(m_dialog->window()->rect().contains(bar->geometry()));
        QWidgetList designed{item(kStatus), item(kIcon), item(kUpdate), item(kClose),
                             m_dialog->groupBoxes().at(0)->window};
        for (QWidget* control : designed) {
            EXPECT_FALSE(bar->geometry().intersects(control->geometry()))
                << control->objectName().toStdString();
        }
        EXPECT_EQ(item(kUpdate)->x() - bar->geometry().right(), gap);
        EXPECT_EQ(m_dialog->window()->height() - bar->geometry().bottom(), below);
    }
}

}  // namespace
}  // namespace tevusb::ui::testing
