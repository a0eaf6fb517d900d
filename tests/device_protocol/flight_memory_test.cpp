// SPDX-License-Identifier: MIT
#include <tuple>

#include "device_fixture.h"

namespace tevusb::device::testing {
namespace {

using data::MemoryPacket;
using Call = std::tuple<int, int, int>;  // packet, in progress, begins a set

struct ProgressLog {
    std::vector<Call> calls;
    AltimeterDevice* cancelDevice = nullptr;
    std::size_t cancelAtCall = 0;

    static void record(void* context, int packet, int inProgress, int beginsSet) {
        auto* self = static_cast<ProgressLog*>(context);
        self->calls.emplace_back(packet, inProgress, beginsSet);
        if (self->cancelDevice != nullptr && self->calls.size() == self->cancelAtCall) {
            self->cancelDevice->requestCancel();
        }
    }
};

MemoryPacket makePacket(std::uint8_t type, std::uint16_t firstReading) {
    MemoryPacket p;
    p.bytes[0] = type;
    p.bytes[1] = 0x5A;
    for (int j = 1; j < 32; ++j) {
        p.setWord(j, static_cast<std::uint16_t>(firstReading + j));
    }
    return p;
}

MemoryPacket erasedPacket() {
    MemoryPacket p;
    p.bytes.fill(0xFF);
    return p;
}

std::uint16_t word(const MemoryPacket& p, int j) {
    return static_cast<std::uint16_t>(p.bytes[2 * j] | (p.bytes[2 * j + 1] << 8));
}

class FlightMemoryTest : public DeviceTest {
  protected:
    void SetUp() override { connectApplication(); }

    void scriptRequest(int index) {
        backend->expectMessage(0, c(CommandCode::ReadPacket));
        backend->expectMessage(static_cast<std::uint16_t>(index), c(CommandCode::ReadPacket));
    }
    void scriptWords(const MemoryPacket& p, int from, int to) {
        for (int j = from; j < to; ++j) {
            backend->replyMessage(word(p, j), c(ReplyCode::DataWord));
        }
    }
    void scriptPacket(int index, const MemoryPacket& p) {
        scriptRequest(index);
        scriptWords(p, 0, 32);
        backend->replyMessage(0, c(ReplyCode::Complete));
    }
    void scriptStart() { backend->expectMessage(0, c(CommandCode::Reset)); }

    ProgressLog progress;
    int read() { return device.readFlightMemory(&ProgressLog::record, &progress); }
};

TEST_F(FlightMemoryTest, EmptyMemoryGivesNoPacketsNoSetsNoComments) {
    device.store.comments = {"old"};
    device.store.packets.resize(2);
    scriptStart();
    scriptPacket(0, erasedPacket());

    EXPECT_EQ(read(), result::kSuccess);
    EXPECT_TRUE(device.store.packets.empty());
    EXPECT_TRUE(device.store.comments.empty());
    expectConversationDone();
    // The erased packet was reported while it arrived but never as kept.
    for (const auto& call : progress.calls) {
        EXPECT_EQ(std::get<1>(call), 1);
    }
    EXPECT_TRUE(log.has("Done Reading Data..."));
    EXPECT_FALSE(log.has("Done Reading Packet..."));
}

TEST_F(FlightMemoryTest, KeepsPacketsUntilTheErasedOneAndGivesOneCommentPerSet) {
    const std::vector<MemoryPacket> packets{makePacket(2, 8000), makePacket(1, 8100),
                                            makePacket(2, 8200)};
    scriptStart();
    for (int i = 0; i < 3; ++i) {
        scriptPacket(i, packets[i]);
    }
    scriptPacket(3, erasedPacket());

    EXPECT_EQ(read(), result::kSuccess);
    expectConversationDone();
    ASSERT_EQ(device.store.packets.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(device.store.packets[i].bytes, packets[i].bytes) << "packet " << i;
    }
    EXPECT_EQ(device.store.comments, (std::vector<std::string>{"", ""}));
    // Every reading word of every packet went into the live series.
    EXPECT_EQ(device.store.fast.values.size(), 3u * 31u);

    // Packet 0: its start, every fifth word, and once kept.
    const std::vector<Call> first{{0, 1, 1}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0},
                                  {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 0}};
    ASSERT_GE(progress.calls.size(), first.size());
    EXPECT_EQ(std::vector<Call>(progress.calls.begin(), progress.calls.begin() + 8), first);
    EXPECT_EQ(progress.calls[8], Call(1, 1, 0));  // packet 1 continues the set
    EXPECT_EQ(progress.calls[16], Call(2, 1, 1));
    EXPECT_EQ(log.count("Done Reading Packet..."), 3);
    EXPECT_EQ(log.count("updating fast set..."), 4 * 31);
}

TEST_F(FlightMemoryTest, FullMemoryStopsAfterThe128thPacket) {
    scriptStart();
    for (int i = 0; i < 128; ++i) {
        scriptPacket(i, makePacket(i % 10 == 0 ? 2 : 1, static_cast<std::uint16_t>(7000 + i)));
    }
    EXPECT_EQ(read(), result::kSuccess);
    expectConversationDone();
    EXPECT_EQ(device.store.packets.size(), 128u);
    EXPECT_EQ(device.store.comments.size(), 13u);
    EXPECT_EQ(progress.calls.back(), Call(127, 0, 0));
}

TEST_F(FlightMemoryTest, StrayCodesInsideAPacketAreSkippedAndTheWordReadAgain) {
    const MemoryPacket p = makePacket(2, 9000);
    scriptStart();
    scriptRequest(0);
    scriptWords(p, 0, 3);
    backend->replyMessage(0x1111, 12);
    backend->replyMessage(0x2222, c(ReplyCode::Value));
    scriptWords(p, 3, 32);
    backend->replyMessage(0, c(ReplyCode::Complete));
    scriptPacket(1, erasedPacket());

    EXPECT_EQ(read(), result::kSuccess);
    expectConversationDone();
    ASSERT_EQ(device.store.packets.size(), 1u);
    EXPECT_EQ(device.store.packets[0].bytes, p.bytes);
    EXPECT_EQ(log.count("Invalid data."), 2);
    EXPECT_TRUE(log.has("Code: [c]"));
}

TEST_F(FlightMemoryTest, EndsWithTheRightResultOnEachFault) {
    const MemoryPacket p = makePacket(2, 9000);
    // Packet 0 arrives whole, then packet 1 breaks. Each fault is told apart by its result,
    // by how many of packet 1's readings reached the live series before it, and by the one
    // line only its failure path writes (none for the last two).
    struct Case {
        const char* name;
        std::function<void()> script;
        int result;
        int readings;
        const char* line;
    };
    const std::vector<Case> cases{
        {"word missing",
         [&] {
             scriptRequest(1);
             scriptWords(p, 0, 7);
             backend->silence();
         },
         result::kTimeout, 6, "Failed to read to packet."},
        {"early complete",
         [&] {
             scriptRequest(1);
             scriptWords(p, 0, 7);
             backend->replyMessage(0, c(ReplyCode::Complete));
         },
         result::kProtocolError, 6, "Premature end of data."},
        {"closing reply missing",
         [&] {
             scriptRequest(1);
             scriptWords(p, 0, 32);
             backend->silence();
         },
         result::kTimeout, 31, "Could not read complete confirmation."},
        {"closing reply wrong",
         [&] {
             scriptRequest(1);
             scriptWords(p, 0, 32);
             backend->replyMessage(0, c(ReplyCode::DataWord));
         },
         result::kProtocolError, 31, nullptr},
        {"request unsent",
         [&] {
             backend->expectMessage(0, c(CommandCode::ReadPacket));
             backend->expectMessage(1, c(CommandCode::ReadPacket), false);
         },
         result::kSendFailed, 0, nullptr},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        LogCapture caseLog;
        scriptStart();
        scriptPacket(0, p);
        k.script();
        EXPECT_EQ(read(), k.result);
        expectConversationDone();
        EXPECT_EQ(caseLog.count("updating fast set..."), 31 + k.readings);
        for (const auto& other : cases) {
            if (other.line != nullptr) {
                EXPECT_EQ(caseLog.has(other.line), other.line == k.line) << other.line;
            }
        }
        // The packet read whole before the fault stays; the broken one is not kept.
        EXPECT_EQ(caseLog.count("Done Reading Packet..."), 1);
        EXPECT_EQ(device.store.packets.size(), 1u);
        EXPECT_TRUE(device.store.comments.empty());
    }
}

TEST_F(FlightMemoryTest, UnsentResetAndBootloaderModeEndBeforeAnyRead) {
    device.store.comments = {"kept?"};
    backend->expectMessage(0, c(CommandCode::Reset), false);
    EXPECT_EQ(read(), result::kSendFailed);
    EXPECT_TRUE(device.store.comments.empty());
    expectConversationDone();

    connectBootloader();
    device.store.comments = {"kept?"};
    EXPECT_EQ(read(), result::kProtocolError);
    EXPECT_TRUE(device.store.comments.empty());
    expectConversationDone();
    EXPECT_TRUE(progress.calls.empty());
}

TEST_F(FlightMemoryTest, CancelDuringAClosingReplyKeepsThatPacket) {
    const MemoryPacket p = makePacket(2, 9000);
    scriptStart();
    scriptPacket(0, p);
    backend->whenPlayed([this] { device.requestCancel(); });
    // The next packet is requested, but its first word is never read.
    scriptRequest(1);

    EXPECT_EQ(read(), result::kCancelled);
    expectConversationDone();
    ASSERT_EQ(device.store.packets.size(), 1u);
    EXPECT_EQ(device.store.packets[0].bytes, p.bytes);
    EXPECT_EQ(progress.calls.back(), Call(0, 0, 0));
    EXPECT_TRUE(log.has("Requesting CancelIO."));
    EXPECT_TRUE(device.store.comments.empty());
}

TEST_F(FlightMemoryTest, CancelInsideAPacketStopsAtTheNextWord) {
    const MemoryPacket p = makePacket(2, 9000);
    scriptStart();
    scriptPacket(0, p);
    scriptRequest(1);
    scriptWords(p, 0, 32);
    backend->replyMessage(0, c(ReplyCode::Complete));
    // Calls for packet 0 are 8; the second call of packet 1 comes after its word 5.
    progress.cancelDevice = &device;
    progress.cancelAtCall = 10;

    EXPECT_EQ(read(), result::kCancelled);
    EXPECT_EQ(device.store.packets.size(), 1u);
    // Words 6 to 31 and the closing reply were never read.
    EXPECT_EQ(backend->pending(), 27u);
    EXPECT_TRUE(backend->faults().empty());
}

TEST_F(FlightMemoryTest, AnEarlierCancelDoesNotStopANewRead) {
    device.requestCancel();
    scriptStart();
    scriptPacket(0, erasedPacket());
    EXPECT_EQ(read(), result::kSuccess);
    expectConversationDone();
}

}  // namespace
}  // namespace tevusb::device::testing
