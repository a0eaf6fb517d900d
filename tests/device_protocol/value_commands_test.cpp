// SPDX-License-Identifier: MIT
#include "device_fixture.h"

namespace tevusb::device::testing {
namespace {

class ValueCommandsTest : public DeviceTest {
  protected:
    void SetUp() override { connectApplication(); }
    void scriptStart(CommandCode command) {
        backend->expectMessage(0, c(CommandCode::Reset));
        backend->expectMessage(0, c(command));
    }
};

TEST_F(ValueCommandsTest, ReadAdcReturnsTheValueReply) {
    scriptStart(CommandCode::ReadAdc);
    backend->replyMessage(8123, c(ReplyCode::Value));
    backend->replyMessage(0, c(ReplyCode::Complete));
    std::uint16_t value = 0;
    EXPECT_EQ(device.readAdc(value), result::kSuccess);
    EXPECT_EQ(value, 8123);
    expectConversationDone();
    const std::vector<std::string> expected{"Resetting device...", "Sending command...",
                                            "Reading data...", "Reading completion code..."};
    EXPECT_EQ(log.lines(), expected);
}

TEST_F(ValueCommandsTest, ReadBatteryLogsDoneAfterTheClosingReply) {
    scriptStart(CommandCode::ReadBattery);
    backend->replyMessage(94, c(ReplyCode::Value));
    backend->replyMessage(0, c(ReplyCode::Complete));
    std::uint16_t value = 0;
    EXPECT_EQ(device.readBattery(value), result::kSuccess);
    EXPECT_EQ(value, 94);
    EXPECT_EQ(log.lines().back(), "Done.");
    expectConversationDone();
}

TEST_F(ValueCommandsTest, FireLinesAwaitsOnlyTheClosingReply) {
    scriptStart(CommandCode::FireLines);
    backend->replyMessage(0, c(ReplyCode::Complete));
    EXPECT_EQ(device.fireLines(), result::kSuccess);
    EXPECT_FALSE(log.has("Reading data..."));
    expectConversationDone();
}

TEST_F(ValueCommandsTest, WrongCodesAreProtocolErrorsAndLeaveTheValue) {
    scriptStart(CommandCode::ReadAdc);
    backend->replyMessage(77, c(ReplyCode::Complete));
    std::uint16_t value = 5;
    EXPECT_EQ(device.readAdc(value), result::kProtocolError);
    EXPECT_EQ(value, 5);
    expectConversationDone();

    scriptStart(CommandCode::ReadBattery);
    backend->replyMessage(90, c(ReplyCode::Value));
    backend->replyMessage(0, c(ReplyCode::DataWord));
    EXPECT_EQ(device.readBattery(value), result::kProtocolError);
    expectConversationDone();

    scriptStart(CommandCode::FireLines);
    backend->replyMessage(0, c(ReplyCode::Value));
    EXPECT_EQ(device.fireLines(), result::kProtocolError);
    expectConversationDone();
}

TEST_F(ValueCommandsTest, MissingRepliesAndUnsentMessagesAreMinusFive) {
    std::uint16_t value = 0;
    scriptStart(CommandCode::ReadAdc);
    backend->silence();
    EXPECT_EQ(device.readAdc(value), result::kSendFailed);

    scriptStart(CommandCode::ReadAdc);
    backend->replyMessage(1, c(ReplyCode::Value));
    backend->silence();
    EXPECT_EQ(device.readAdc(value), result::kSendFailed);

    scriptStart(CommandCode::FireLines);
    backend->silence();
    EXPECT_EQ(device.fireLines(), result::kSendFailed);

    backend->expectMessage(0, c(CommandCode::Reset), false);
    EXPECT_EQ(device.readBattery(value), result::kSendFailed);
    EXPECT_TRUE(log.has("Write Error."));

    backend->expectMessage(0, c(CommandCode::Reset));
    backend->expectMessage(0, c(CommandCode::FireLines), false);
    EXPECT_EQ(device.fireLines(), result::kSendFailed);
    expectConversationDone();
}

TEST_F(ValueCommandsTest, CommandsClearTheCancelFlagAndRefuseTheBootloader) {
    device.requestCancel();
    scriptStart(CommandCode::FireLines);
    backend->replyMessage(0, c(ReplyCode::Complete));
    EXPECT_EQ(device.fireLines(), result::kSuccess);
    EXPECT_FALSE(device.cancelRequested());
    expectConversationDone();

    connectBootloader();
    std::uint16_t value = 0;
    EXPECT_EQ(device.readAdc(value), result::kProtocolError);
    EXPECT_EQ(device.readBattery(value), result::kProtocolError);
    EXPECT_EQ(device.fireLines(), result::kProtocolError);
    expectConversationDone();
}

class ClearMemoryTest : public ValueCommandsTest {};

TEST_F(ClearMemoryTest, NoResetNoLogAndTheCommentsGo) {
    device.store.comments = {"first flight"};
    device.store.packets.resize(3);
    backend->expectMessage(0, c(CommandCode::ClearMemory));
    backend->replyMessage(0, c(ReplyCode::Complete));
    EXPECT_EQ(device.clearMemory(), result::kSuccess);
    EXPECT_TRUE(device.store.comments.empty());
    // The dialog empties the image once it has told the user.
    EXPECT_EQ(device.store.packets.size(), 3u);
    EXPECT_TRUE(log.text().empty());
    expectConversationDone();
}

TEST_F(ClearMemoryTest, FailuresAndTheirResults) {
    backend->expectMessage(0, c(CommandCode::ClearMemory), false);
    EXPECT_EQ(device.clearMemory(), result::kTimeout);
    backend->expectMessage(0, c(CommandCode::ClearMemory));
    backend->silence();
    EXPECT_EQ(device.clearMemory(), result::kTimeout);
    backend->expectMessage(0, c(CommandCode::ClearMemory));
    backend->replyMessage(0, c(ReplyCode::DataWord));
    EXPECT_EQ(device.clearMemory(), result::kProtocolError);
    expectConversationDone();

    connectBootloader();
    device.store.comments = {"a"};
    EXPECT_EQ(device.clearMemory(), result::kProtocolError);
    EXPECT_TRUE(device.store.comments.empty());
    expectConversationDone();
}

}  // namespace
}  // namespace tevusb::device::testing
