// SPDX-License-Identifier: MIT
// The application firmware's side of every command, checked with raw 4-byte reports.
#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "log/diagnostic_log.h"

#include "data/altitude_converter.h"
#include "device/sim/sim_codes.h"
#include "settings/device_settings.h"
#include "sim_test_support.h"

namespace tevusb::device::sim::test {
namespace {

constexpr std::uint8_t kValue = 0;
constexpr std::uint8_t kComplete = 5;
constexpr std::uint8_t kDataWord = 11;

std::uint8_t code(Command c) {
    return static_cast<std::uint8_t>(c);
}

TEST(SimApplication, ResetAloneIsNotAnswered) {
    Bench bench;
    ASSERT_TRUE(bench.link.send(0, code(Command::Reset)));
    EXPECT_EQ(bench.link.drain().size(), 0u);
    EXPECT_EQ(bench.device.receivedMessages(), (std::vector<SimMessage>{{0, 1}}));
}

TEST(SimApplication, ReadSettingsSendsTheSeventeenImageBytesThenComplete) {
    Bench bench;
    bench.link.send(0, code(Command::Reset));
    ASSERT_TRUE(bench.link.send(0, code(Command::ReadSettings)));
    const auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 18u);
    const std::array<std::uint8_t, 17> defaults{0xE0, 0x03, 0xFF, 0x3C, 0x00, 0x14,
                                                0x00, 0x50, 0x00, 0x00, 0x32, 0x96,
                                                0x00, 0x96, 0x00, 0x49, 0x04};
    for (std::size_t i = 0; i < 17; ++i) {
        EXPECT_NE(replies[i].code, kComplete) << i;
        EXPECT_EQ(replies[i].value, defaults[i]) << i;
    }
    EXPECT_EQ(replies[17].code, kComplete);
}

TEST(SimApplication, WriteSettingsStoresTheImageAndCompletesAfterTheLastByte) {
    Bench bench;
    settings::DeviceSettings wanted;
    wanted.lineAMode = static_cast<std::uint8_t>(settings::LineMode::Time);
    wanted.lineAValue = 45;
    wanted.adcOffset = -12;
    wanted.build();

    bench.link.send(0, code(Command::Reset));
    bench.link.send(0, code(Command::WriteSettings));
    for (std::size_t i = 0; i < 17; ++i) {
        EXPECT_EQ(bench.link.drain().size(), 0u) << "answered early, before byte " << i;
        ASSERT_TRUE(bench.link.send(wanted.image[i], code(Command::Data)));
    }
    EXPECT_EQ(bench.link.drain(), (std::vector<Msg>{{0, kComplete}}));
    EXPECT_EQ(bench.device.settingsImage(), wanted.image);
    EXPECT_EQ(bench.device.settingsWrites(), 1);

    bench.link.send(0, code(Command::ReadSettings));
    const auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 18u);
    for (std::size_t i = 0; i < 17; ++i) {
        EXPECT_EQ(replies[i].value, wanted.image[i]);
    }
}

TEST(SimApplication, AnInterruptedSettingsWriteLeavesTheStoredImageAlone) {
    Bench bench;
    const auto before = bench.device.settingsImage();
    bench.link.send(0, code(Command::WriteSettings));
    for (int i = 0; i < 5; ++i) {
        bench.link.send(0xAB, code(Command::Data));
    }
    bench.link.send(0, code(Command::Reset));
    // Data bytes after the reset belong to no write.
    for (int i = 0; i < 17; ++i) {
        bench.link.send(0xAB, code(Command::Data));
    }
    EXPECT_EQ(bench.link.drain().size(), 0u);
    EXPECT_EQ(bench.device.settingsImage(), before);
    EXPECT_EQ(bench.device.settingsWrites(), 0);
}

TEST(SimApplication, ReadPacketAnswersTheSecondMessageWithThirtyTwoWordsAndComplete) {
    Bench bench;
    const auto flights = bench.device.flights();
    ASSERT_EQ(flights.size(), 3u);
    for (const int index : {0, 1, flights[1].firstPacket}) {
        bench.link.send(0, code(Command::ReadPacket));
        EXPECT_EQ(bench.link.drain().size(), 0u) << "the first message only prepares";
        bench.link.send(static_cast<std::uint16_t>(index), code(Command::ReadPacket));
        const auto replies = bench.link.drain();
        ASSERT_EQ(replies.size(), 33u);
        const auto packet = bench.device.packet(index);
        EXPECT_EQ(replies[0].value, packet.bytes[0] | (packet.bytes[1] << 8));
        for (int j = 0; j < 31; ++j) {
            EXPECT_EQ(replies[static_cast<std::size_t>(j + 1)].code, kDataWord);
            EXPECT_EQ(replies[static_cast<std::size_t>(j + 1)].value, packet.reading(j));
        }
        EXPECT_EQ(replies[32], (Msg{0, kComplete}));
    }
    // Set starts carry type 2 in the low byte of word 0, continuations another type.
    EXPECT_EQ(bench.device.packet(0).type(), 2);
    EXPECT_NE(bench.device.packet(1).type(), 2);
    EXPECT_NE(bench.device.packet(1).type(), 0xFF);
}

TEST(SimApplication, ErasedPacketsReadAsAllOnesAndUnknownIndexesAsBareComplete) {
    Bench bench;
    const int erased = bench.device.usedPackets();
    ASSERT_LT(erased, 128);
    bench.link.send(0, code(Command::ReadPacket));
    bench.link.send(static_cast<std::uint16_t>(erased), code(Command::ReadPacket));
    const auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 33u);
    for (std::size_t j = 0; j < 32; ++j) {
        EXPECT_EQ(replies[j], (Msg{0xFFFF, kDataWord}));
    }

    bench.link.send(0, code(Command::ReadPacket));
    bench.link.send(128, code(Command::ReadPacket));
    EXPECT_EQ(bench.link.drain(), (std::vector<Msg>{{0, kComplete}}));
}

TEST(SimApplication, ClearMemoryErasesEveryPacket) {
    Bench bench;
    ASSERT_GT(bench.device.usedPackets(), 0);
    bench.link.send(0, code(Command::ClearMemory));
    EXPECT_EQ(bench.link.drain(), (std::vector<Msg>{{0, kComplete}}));
    EXPECT_EQ(bench.device.usedPackets(), 0);
    EXPECT_EQ(bench.device.clearCount(), 1);
    bench.link.send(0, code(Command::ReadPacket));
    bench.link.send(0, code(Command::ReadPacket));
    const auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 33u);
    EXPECT_EQ(replies[0].value, 0xFFFF);
}

TEST(SimApplication, ValueCommandsAnswerValueThenComplete) {
    Bench bench;
    bench.device.setAmbientAltitude(1000.0);
    bench.link.send(0, code(Command::Reset));
    bench.link.send(0, code(Command::ReadAdc));
    auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].code, kValue);
    const int ideal = data::AltitudeConverter(0).countForAltitude(1000.0);
    EXPECT_NEAR(replies[0].value, ideal, 2);
    EXPECT_EQ(replies[1].code, kComplete);

    // A sensor that reads 40 counts high is what calibration is for.
    bench.device.setSensorBias(40);
    bench.link.send(0, code(Command::ReadAdc));
    replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_NEAR(replies[0].value, ideal + 40, 2);

    bench.device.setBatteryTenths(84);
    bench.link.send(0, code(Command::ReadBattery));
    EXPECT_EQ(bench.link.drain(), (std::vector<Msg>{{84, kValue}, {0, kComplete}}));
}

TEST(SimApplication, FireLinesIsRecordedAndCompleted) {
    Bench bench;
    bench.link.send(0, code(Command::Reset));
    bench.link.send(0, code(Command::FireLines));
    EXPECT_EQ(bench.link.receive(1000), (Msg{0, kComplete}));
    EXPECT_EQ(bench.device.fireCount(), 1);
}

TEST(SimApplication, UnknownCommandsAreIgnoredAndTheDeviceStaysUsable) {
    Bench bench;
    for (const std::uint8_t unknown : {5, 11, 12, 99, 255}) {
        bench.link.send(0, unknown);
    }
    EXPECT_EQ(bench.link.drain().size(), 0u);
    bench.link.send(0, code(Command::ReadBattery));
    EXPECT_EQ(bench.link.drain().size(), 2u);
}

TEST(SimApplication, MalformedOutputReportsAreRefused) {
    Bench bench;
    const std::array<std::uint8_t, 65> big{};
    EXPECT_EQ(bench.link.handle().write(big.data(), 3, 100), -1);
    EXPECT_EQ(bench.link.handle().write(big.data(), 5, 100), -1);
    EXPECT_EQ(bench.link.handle().write(big.data(), 65, 100), -1);
    const std::array<std::uint8_t, 4> numbered{1, 0, 0, 7};
    EXPECT_EQ(bench.link.handle().write(numbered.data(), 4, 100), -1);
    EXPECT_EQ(bench.link.handle().write(nullptr, 4, 100), -1);
    EXPECT_TRUE(bench.device.receivedMessages().empty());
    EXPECT_EQ(bench.link.drain().size(), 0u);
}

TEST(SimApplication, ReadBuffersNoneIsRefusedAShortOneGetsTheFrontOfTheReport) {
    Bench bench;
    bench.link.send(0, code(Command::ReadBattery));
    EXPECT_EQ(bench.link.handle().read(nullptr, 3, 0), -1);
    EXPECT_EQ(bench.link.handle().read(std::array<std::uint8_t, 1>{}.data(), 0, 0), -1);
    std::array<std::uint8_t, 2> small{};
    EXPECT_EQ(bench.link.handle().read(small.data(), small.size(), 0), 2);
    EXPECT_EQ(small[0], 91);
    EXPECT_EQ(bench.link.receive(0), (Msg{0, kComplete}));
}

TEST(SimApplication, ANewDeviceLogsNothingAndHoldsTheProgramsDefaultSettings) {
    std::ostringstream captured;
    auto* previous = log::DiagnosticLog::instance().setSink(&captured);
    SimBackend backend(instantConfig(3));
    RawLink link(openFirst(backend));
    link.send(0, 8);
    link.drain();
    log::DiagnosticLog::instance().setSink(previous);
    EXPECT_EQ(captured.str(), "");
    EXPECT_EQ(backend.altimeter().settingsImage(), settings::DeviceSettings{}.image);
}

TEST(SimApplication, ACorruptedChecksumIsReadBackAsStored) {
    Bench bench;
    bench.device.corruptSettingsChecksum();
    bench.link.send(0, code(Command::ReadSettings));
    const auto replies = bench.link.drain();
    ASSERT_EQ(replies.size(), 18u);
    settings::SettingsImage image{};
    for (std::size_t i = 0; i < 17; ++i) {
        image[i] = static_cast<std::uint8_t>(replies[i].value);
    }
    EXPECT_EQ(image, bench.device.settingsImage());
    settings::DeviceSettings parsed;
    parsed.image = image;
    EXPECT_FALSE(parsed.parse());
}

}  // namespace
}  // namespace tevusb::device::sim::test
