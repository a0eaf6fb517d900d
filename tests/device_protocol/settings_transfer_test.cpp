// SPDX-License-Identifier: MIT
#include "device_fixture.h"

namespace tevusb::device::testing {
namespace {

class SettingsTransferTest : public DeviceTest {
  protected:
    void SetUp() override {
        connectApplication();
        device.store.settings.image.fill(0xEE);
    }
    void scriptReadStart() {
        backend->expectMessage(0, c(CommandCode::Reset));
        backend->expectMessage(0, c(CommandCode::ReadSettings));
    }
};

TEST_F(SettingsTransferTest, ReadStoresTheLowByteOfEveryReplyWhateverItsCode) {
    scriptReadStart();
    settings::SettingsImage expected{};
    for (int i = 0; i < 17; ++i) {
        expected[i] = static_cast<std::uint8_t>(0xA0 + i);
        // Any code but Complete carries a byte; the high byte is noise.
        const std::uint8_t replyCode = i % 3 == 0 ? 0 : (i % 3 == 1 ? 11 : 99);
        backend->replyMessage(static_cast<std::uint16_t>(0x7700 | expected[i]), replyCode);
    }
    backend->replyMessage(0, c(ReplyCode::Complete));

    EXPECT_EQ(device.readSettings(), result::kSuccess);
    EXPECT_EQ(device.store.settings.image, expected);
    expectConversationDone();
    EXPECT_TRUE(log.has("Resetting device."));
    EXPECT_TRUE(log.has("Reading Settings..."));
    EXPECT_TRUE(log.has("Settings Packet Read: 0"));
    EXPECT_TRUE(log.has("Settings Packet Read: 16"));
    EXPECT_EQ(log.lines().back(), "Done.");
}

TEST_F(SettingsTransferTest, EarlyCompleteIsAProtocolErrorAndKeepsTheOldImage) {
    scriptReadStart();
    for (int i = 0; i < 5; ++i) {
        backend->replyMessage(static_cast<std::uint16_t>(i), 0);
    }
    backend->replyMessage(0, c(ReplyCode::Complete));

    EXPECT_EQ(device.readSettings(), result::kProtocolError);
    EXPECT_TRUE(log.has("Premature end of data."));
    settings::SettingsImage old;
    old.fill(0xEE);
    EXPECT_EQ(device.store.settings.image, old);
    expectConversationDone();
}

TEST_F(SettingsTransferTest, ReadFailuresAndTheirResults) {
    // A byte that never comes.
    scriptReadStart();
    backend->replyMessage(1, 0);
    backend->silence();
    EXPECT_EQ(device.readSettings(), result::kTimeout);
    EXPECT_TRUE(log.has("Failed to read packet."));
    expectConversationDone();

    // The closing reply never comes, or comes with the wrong code.
    for (bool silent : {true, false}) {
        scriptReadStart();
        for (int i = 0; i < 17; ++i) {
            backend->replyMessage(1, 0);
        }
        if (silent) {
            backend->silence();
        } else {
            backend->replyMessage(0, 11);
        }
        EXPECT_EQ(device.readSettings(), silent ? result::kTimeout : result::kProtocolError);
        expectConversationDone();
        // Every byte came, but without its confirmation none of them is taken.
        EXPECT_EQ(device.store.settings.image[0], 0xEE);
    }
    EXPECT_EQ(log.count("Could not read complete confirmation."), 1);
    EXPECT_FALSE(log.has("Done."));
}

TEST_F(SettingsTransferTest, UnsentResetOrCommandIsMinusFive) {
    backend->expectMessage(0, c(CommandCode::Reset), false);
    EXPECT_EQ(device.readSettings(), result::kSendFailed);
    backend->expectMessage(0, c(CommandCode::Reset));
    backend->expectMessage(0, c(CommandCode::WriteSettings), false);
    EXPECT_EQ(device.writeSettings(), result::kSendFailed);
    expectConversationDone();
}

TEST_F(SettingsTransferTest, WriteSendsEveryByteZeroExtended) {
    auto& image = device.store.settings.image;
    for (int i = 0; i < 17; ++i) {
        image[i] = static_cast<std::uint8_t>(i * 15 + 15);  // up to 255
    }
    backend->expectMessage(0, c(CommandCode::Reset));
    backend->expectMessage(0, c(CommandCode::WriteSettings));
    for (int i = 0; i < 17; ++i) {
        backend->expectWrite({0, image[i], 0, c(CommandCode::Data)});
    }
    backend->replyMessage(0, c(ReplyCode::Complete));

    EXPECT_EQ(device.writeSettings(), result::kSuccess);
    expectConversationDone();
    EXPECT_TRUE(log.has("Writting Settings..."));
    EXPECT_TRUE(log.has("Settings Packet Written: 16"));
    EXPECT_EQ(log.lines().back(), "Done.");
}

TEST_F(SettingsTransferTest, WriteFailuresAndTheirResults) {
    backend->expectMessage(0, c(CommandCode::Reset));
    backend->expectMessage(0, c(CommandCode::WriteSettings));
    backend->expectWrite({0, 0xEE, 0, 0});
    backend->expectWrite({0, 0xEE, 0, 0}, false);
    EXPECT_EQ(device.writeSettings(), result::kTimeout);
    EXPECT_TRUE(log.has("Failed to write packet."));
    EXPECT_FALSE(log.has("Settings Packet Written: 1"));
    expectConversationDone();

    backend->expectMessage(0, c(CommandCode::Reset));
    backend->expectMessage(0, c(CommandCode::WriteSettings));
    for (int i = 0; i < 17; ++i) {
        backend->expectWrite({0, 0xEE, 0, 0});
    }
    backend->silence();
    EXPECT_EQ(device.writeSettings(), result::kTimeout);
    EXPECT_TRUE(log.has("Could not read complete confirmation."));
    expectConversationDone();
}

TEST_F(SettingsTransferTest, BootloaderRefusesBothWithoutTalking) {
    connectBootloader();
    EXPECT_EQ(device.readSettings(), result::kProtocolError);
    EXPECT_EQ(device.writeSettings(), result::kProtocolError);
    EXPECT_EQ(device.store.settings.image[0], 0xEE);
    expectConversationDone();
}

}  // namespace
}  // namespace tevusb::device::testing
