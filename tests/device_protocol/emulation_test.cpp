// SPDX-License-Identifier: MIT
#include <utility>

#include "device_fixture.h"

namespace tevusb::device::testing {
namespace {

using Event = std::pair<int, int>;  // reply code, samples sent

struct EventLog {
    std::vector<Event> events;
    static void record(void* context, int replyCode, int samplesSent) {
        static_cast<EventLog*>(context)->events.emplace_back(replyCode, samplesSent);
    }
};

class EmulationTest : public DeviceTest {
  protected:
    void SetUp() override { connectApplication(); }

    void setSamples(int count) {
        auto& counts = device.store.current.adcCounts;
        counts.clear();
        for (int n = 0; n < count; ++n) {
            counts.push_back(8000 - 7 * n);
        }
    }
    void scriptStart() { backend->expectMessage(0, c(CommandCode::EmulateLaunch)); }
    void scriptFeed(int from, int to) {
        for (int n = from; n < to; ++n) {
            backend->replyMessage(0, c(ReplyCode::AdcRequest));
            backend->expectMessage(static_cast<std::uint16_t>(8000 - 7 * n),
                                   c(CommandCode::AdcSample));
        }
    }
    void scriptEnding(std::uint8_t closing = c(ReplyCode::Complete)) {
        backend->expectMessage(0, c(CommandCode::Reset));
        backend->replyMessage(0, closing);
    }

    EventLog events;
    bool emulate() { return device.emulateLaunch(&EventLog::record, &events); }
};

TEST_F(EmulationTest, TwentyFiveSamplesThenTheDataRunsOut) {
    setSamples(25);
    scriptStart();
    scriptFeed(0, 25);
    backend->replyMessage(0, c(ReplyCode::AdcRequest));
    scriptEnding();

    EXPECT_TRUE(emulate());
    expectConversationDone();
    const std::vector<Event> expected{{13, 0}, {13, 10}, {13, 20}};
    EXPECT_EQ(events.events, expected);
    EXPECT_TRUE(log.has("Emulating Launch..."));
    EXPECT_TRUE(log.has("The device is requesting ADC data. Data: 8000"));
    EXPECT_TRUE(log.has("End of available data."));
}

// The device paces the replay in real time: a reply that takes longer than an ordinary
// command's limit is still awaited.
TEST_F(EmulationTest, RepliesMayTakeLongerThanACommandsLimit) {
    scriptStart();
    backend->replyMessage(0, c(ReplyCode::LaunchDetected), kMessageTimeoutMs + 300);
    backend->replyMessage(0, c(ReplyCode::EndOfLaunch));
    scriptEnding();
    EXPECT_TRUE(emulate());
    expectConversationDone();
    EXPECT_TRUE(log.has("Launch detected."));
}

TEST_F(EmulationTest, EventsAreLoggedAndReportedAndTheSlopeIsSigned) {
    scriptStart();
    backend->replyMessage(0, c(ReplyCode::LaunchDetected));
    backend->replyMessage(0, c(ReplyCode::LineAFired));
    backend->replyMessage(0, c(ReplyCode::LineBFired));
    backend->replyMessage(static_cast<std::uint16_t>(-3), c(ReplyCode::ApogeeDetected));
    backend->replyMessage(0, c(ReplyCode::EndOfLaunch));
    scriptEnding();

    EXPECT_TRUE(emulate());
    expectConversationDone();
    const std::vector<Event> expected{{14, 0}, {15, 0}, {16, 0}, {17, 0}, {19, 0}};
    EXPECT_EQ(events.events, expected);
    const std::vector<std::string> lines{"Emulating Launch...",
                                         "Launch detected.",
                                         "Line A fired.",
                                         "Line B fired.",
                                         "Apogee!",
                                         "Slope: -3",
                                         "Device indicates end of launch."};
    EXPECT_EQ(log.lines(), lines);
}

TEST_F(EmulationTest, ResultIsWhetherTheClosingReplyIsComplete) {
    scriptStart();
    backend->replyMessage(0, c(ReplyCode::EndOfLaunch));
    scriptEnding(c(ReplyCode::Value));
    EXPECT_FALSE(emulate());
    expectConversationDone();
}

TEST_F(EmulationTest, UnknownCodeEndsLikeEndOfLaunch) {
    setSamples(3);
    scriptStart();
    scriptFeed(0, 2);
    backend->replyMessage(0, 18);
    scriptEnding();

    EXPECT_TRUE(emulate());
    expectConversationDone();
    const std::vector<Event> expected{{13, 0}, {18, 2}};
    EXPECT_EQ(events.events, expected);
    EXPECT_TRUE(log.has("Unknown code received."));
}

TEST_F(EmulationTest, CancelWhileTheFirstRequestIsAwaitedTakesSampleZeroButSendsNone) {
    setSamples(25);
    scriptStart();
    backend->replyMessage(0, c(ReplyCode::AdcRequest));
    backend->whenPlayed([this] { device.requestCancel(); });
    backend->expectMessage(0, c(CommandCode::Reset));
    // The reply to the closing reset is not awaited.

    EXPECT_TRUE(emulate());
    expectConversationDone();
    EXPECT_TRUE(log.has("The device is requesting ADC data. Data: 8000"));
    EXPECT_TRUE(log.has("User ended emulation."));
    EXPECT_TRUE(log.has("Reseting device."));
}

TEST_F(EmulationTest, CancelRequestedBeforeTheStartIsForgotten) {
    device.requestCancel();
    setSamples(1);
    scriptStart();
    scriptFeed(0, 1);
    backend->replyMessage(0, c(ReplyCode::EndOfLaunch));
    scriptEnding();
    EXPECT_TRUE(emulate());
    expectConversationDone();
}

TEST_F(EmulationTest, WriteAndReadFailures) {
    setSamples(5);
    backend->expectMessage(0, c(CommandCode::EmulateLaunch), false);
    EXPECT_FALSE(emulate());
    EXPECT_TRUE(log.has("Write Error."));
    expectConversationDone();

    {
        LogCapture caseLog;
        scriptStart();
        backend->replyMessage(0, c(ReplyCode::AdcRequest));
        backend->expectMessage(8000, c(CommandCode::AdcSample), false);
        EXPECT_FALSE(emulate());
        EXPECT_TRUE(caseLog.has("Write Error"));
        expectConversationDone();
    }
    {
        // A silent device is not reset: nothing follows the time-out.
        LogCapture caseLog;
        scriptStart();
        scriptFeed(0, 2);
        backend->silence();
        EXPECT_FALSE(emulate());
        EXPECT_TRUE(caseLog.has("Read Error."));
        expectConversationDone();
    }
    {
        LogCapture caseLog;
        scriptStart();
        backend->replyMessage(0, c(ReplyCode::EndOfLaunch));
        backend->expectMessage(0, c(CommandCode::Reset));
        backend->silence();
        EXPECT_FALSE(emulate());
        EXPECT_TRUE(caseLog.has("Read Error."));
        expectConversationDone();
    }
    {
        LogCapture caseLog;
        scriptStart();
        backend->replyMessage(0, c(ReplyCode::EndOfLaunch));
        backend->expectMessage(0, c(CommandCode::Reset), false);
        EXPECT_FALSE(emulate());
        EXPECT_TRUE(caseLog.has("Write Error."));
        expectConversationDone();
    }
    {
        LogCapture caseLog;
        scriptStart();
        backend->replyMessage(0, c(ReplyCode::AdcRequest));
        backend->whenPlayed([this] { device.requestCancel(); });
        backend->expectMessage(0, c(CommandCode::Reset), false);
        EXPECT_FALSE(emulate());
        expectConversationDone();
    }
}

TEST_F(EmulationTest, NoSelectedFlightEndsAtTheFirstRequest) {
    scriptStart();
    backend->replyMessage(0, c(ReplyCode::AdcRequest));
    scriptEnding();
    EXPECT_TRUE(emulate());
    expectConversationDone();
    EXPECT_EQ(events.events, (std::vector<Event>{{13, 0}}));
}

TEST_F(EmulationTest, BootloaderModeRefusesWithoutTalking) {
    connectBootloader();
    EXPECT_FALSE(emulate());
    expectConversationDone();
    EXPECT_TRUE(events.events.empty());
}

}  // namespace
}  // namespace tevusb::device::testing
