// SPDX-License-Identifier: MIT
#include "device_fixture.h"

namespace tevusb::device::testing {
namespace {

using ConnectTest = DeviceTest;

TEST_F(ConnectTest, NoDeviceAtAllIsMinusOneAndLeavesTheVersionAlone) {
    std::uint16_t version = 0xBEEF;
    EXPECT_EQ(device.connect(ConnectMode::Application, &version), result::kTimeout);
    EXPECT_EQ(version, 0xBEEF);
    EXPECT_FALSE(device.link.isOpen());
}

TEST_F(ConnectTest, LowNibbleOfTheVersionIsIgnored) {
    backend->devices = {applicationDevice(0x0151)};
    std::uint16_t version = 0;
    EXPECT_EQ(device.connect(ConnectMode::Application, &version), result::kConnected);
    EXPECT_EQ(version, 0x0151);
    EXPECT_TRUE(device.link.isOpen());
    EXPECT_FALSE(device.isBootloader());
}

TEST_F(ConnectTest, OlderFamilyIsRefusedAndItsVersionReported) {
    backend->devices = {applicationDevice(0x0140)};
    std::uint16_t version = 0;
    EXPECT_EQ(device.connect(ConnectMode::Application, &version), result::kProtocolError);
    EXPECT_EQ(version, 0x0140);
    EXPECT_FALSE(device.link.isOpen());
    EXPECT_EQ(backend->openCount(), 0);
}

TEST_F(ConnectTest, DeviceThatCannotBeOpenedIsMinusTwo) {
    backend->devices = {applicationDevice(0x0150, "/dev/hidraw3")};
    backend->unopenable = {"/dev/hidraw3"};
    std::uint16_t version = 0;
    EXPECT_EQ(device.connect(ConnectMode::Application, &version), result::kCancelled);
    EXPECT_EQ(version, 0x0150);
    EXPECT_FALSE(device.link.isOpen());
}

TEST_F(ConnectTest, TakesTheFirstDeviceOfTheRequiredVersion) {
    backend->devices = {applicationDevice(0x0140, "/dev/a"), bootloaderDevice(0x0110, "/dev/b"),
                        applicationDevice(0x0153, "/dev/c"), applicationDevice(0x0150, "/dev/d")};
    std::uint16_t version = 0;
    EXPECT_EQ(device.connect(ConnectMode::Application, &version), result::kConnected);
    EXPECT_EQ(version, 0x0153);
    EXPECT_EQ(device.link.device().path, "/dev/c");
}

TEST_F(ConnectTest, BootloaderModeLooksForTheBootloaderOnly) {
    backend->devices = {applicationDevice()};
    EXPECT_EQ(device.connect(ConnectMode::Bootloader), result::kTimeout);

    backend->devices = {applicationDevice(), bootloaderDevice(0x011F)};
    std::uint16_t version = 0;
    EXPECT_EQ(device.connect(ConnectMode::Bootloader, &version), result::kConnected);
    EXPECT_EQ(version, 0x011F);
    EXPECT_TRUE(device.isBootloader());
    EXPECT_EQ(device.link.device().path, "/dev/hidraw1");
}

TEST_F(ConnectTest, ReconnectClosesFirstAndAFailedConnectLeavesNoBootloaderLink) {
    connectBootloader();
    ASSERT_TRUE(device.isBootloader());
    backend->devices.clear();
    EXPECT_EQ(device.connect(ConnectMode::Bootloader), result::kTimeout);
    EXPECT_FALSE(device.link.isOpen());
    EXPECT_FALSE(device.isBootloader());
}

TEST_F(ConnectTest, DisconnectClosesAndClearsBothFlags) {
    connectBootloader();
    device.requestCancel();
    ASSERT_TRUE(device.cancelRequested());
    device.disconnect();
    EXPECT_FALSE(device.link.isOpen());
    EXPECT_FALSE(device.cancelRequested());
    EXPECT_FALSE(device.isBootloader());
}

TEST_F(ConnectTest, MessagesAreLittleEndianWithReportIdZero) {
    connectApplication();
    backend->expectMessage(0x1234, 9);
    backend->replyMessage(0xABCD, 11);
    ASSERT_TRUE(device.sendMessage(0x1234, 9));
    std::uint16_t value = 0;
    std::uint8_t code = 0;
    ASSERT_TRUE(device.receiveMessage(kMessageTimeoutMs, value, code));
    EXPECT_EQ(value, 0xABCD);
    EXPECT_EQ(code, 11);
    expectConversationDone();
}

TEST_F(ConnectTest, ShortReplyNeverCarriesBytesOfTheLastOne) {
    connectApplication();
    backend->replyMessage(0xABCD, 11);
    backend->reply({0x07});
    std::uint16_t value = 0;
    std::uint8_t code = 0;
    ASSERT_TRUE(device.receiveMessage(kMessageTimeoutMs, value, code));
    ASSERT_TRUE(device.receiveMessage(kMessageTimeoutMs, value, code));
    EXPECT_EQ(value, 0x0007);
    EXPECT_EQ(code, 0);
    expectConversationDone();
}

TEST_F(ConnectTest, ResetIsOneMessageAndAFailedWriteIsLogged) {
    connectApplication();
    backend->expectMessage(0, 1);
    backend->expectMessage(0, 1, false);
    EXPECT_TRUE(device.reset());
    EXPECT_FALSE(log.has("Write Error."));
    EXPECT_FALSE(device.reset());
    EXPECT_TRUE(log.has("Write Error."));
    expectConversationDone();
}

TEST(VersionText, MajorWithoutZerosMinorAsTwoLowerCaseDigits) {
    EXPECT_EQ(versionText(0x0150), L"1.50");
    EXPECT_EQ(versionText(0x0110), L"1.10");
    EXPECT_EQ(versionText(0x011A), L"1.1a");
    EXPECT_EQ(versionText(0x0105), L"1.05");
    EXPECT_EQ(versionText(0x1234), L"12.34");
    EXPECT_EQ(versionText(0x0000), L"0.00");
    EXPECT_EQ(versionText(0xFFFF), L"ff.ff");
}

TEST(VersionText, PatternNamesTheFamily) {
    EXPECT_EQ(versionPatternText(0x0150), L"1.5x");
    EXPECT_EQ(versionPatternText(0x0153), L"1.5x");
    EXPECT_EQ(versionPatternText(0x1234), L"12.3x");
}

}  // namespace
}  // namespace tevusb::device::testing
