// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "settings/device_settings.h"
#include "support/log_capture.h"

using tevusb::settings::DeviceSettings;
using tevusb::settings::SettingsImage;
using tevusb::testing::LogCapture;

namespace {

std::string bytesOf(const SettingsImage& image) {
    return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

}  // namespace

TEST(DeviceSettings, DefaultsBuildTheKnownImage) {
    DeviceSettings s;
    const SettingsImage expected = {0xE0, 0x03, 0xFF, 0x3C, 0x00, 0x14, 0x00, 0x50, 0x00,
                                    0x00, 0x32, 0x96, 0x00, 0x96, 0x00, 0x49, 0x04};
    EXPECT_EQ(s.image, expected);
    EXPECT_EQ(s.computeChecksum(), 1097);
    EXPECT_TRUE(s.parse());
    EXPECT_EQ(s.auxFlag, 0xFF);  // a set flag always reads back as 0xFF
}

TEST(DeviceSettings, ChecksumOfZerosIsTheIndexSum) {
    SettingsImage zeros{};
    EXPECT_EQ(tevusb::settings::computeChecksum(zeros), 105);
}

TEST(DeviceSettings, OffsetKeepsOnlyItsLow16BitsSigned) {
    DeviceSettings s;
    s.adcOffset = -5;
    s.build();
    EXPECT_EQ(s.image[8], 0xFB);
    EXPECT_EQ(s.image[9], 0xFF);
    ASSERT_TRUE(s.parse());
    EXPECT_EQ(s.adcOffset, -5);

    s.adcOffset = 40000;
    s.build();
    EXPECT_EQ(s.image[8], 0x40);
    EXPECT_EQ(s.image[9], 0x9C);
    ASSERT_TRUE(s.parse());
    EXPECT_EQ(s.adcOffset, -25536);
}

TEST(DeviceSettings, ModesShareOneByteAndRoundTrip) {
    DeviceSettings s;
    s.lineAMode = 1;
    s.lineBMode = 0;
    s.lineAValue = 65535;
    s.lineBValue = 7;
    s.inhibitTime = 201;
    s.build();
    EXPECT_EQ(s.image[10], 0x01);
    DeviceSettings t;
    t.image = s.image;
    ASSERT_TRUE(t.parse());
    EXPECT_EQ(t.lineAMode, 1);
    EXPECT_EQ(t.lineBMode, 0);
    EXPECT_EQ(t.lineAValue, 65535);
    EXPECT_EQ(t.lineBValue, 7);
    EXPECT_EQ(t.inhibitTime, 201);
}

TEST(DeviceSettings, BadChecksumStillUnpacksAndLogs) {
    DeviceSettings s;
    s.image[5] = 99;  // inhibit time, checksum now stale
    LogCapture log;
    EXPECT_FALSE(s.parse());
    EXPECT_EQ(s.inhibitTime, 99);
    EXPECT_TRUE(log.has("Invalid checksum!"));
    EXPECT_TRUE(log.has("MaxReadings: 992"));
    EXPECT_TRUE(log.has("Line: 32"));
    EXPECT_FALSE(log.has("Checksum is valid."));
}

TEST(DeviceSettings, SerializeWritesStaleImagesButWarns) {
    DeviceSettings s;
    s.image[0] ^= 1;
    std::ostringstream out;
    LogCapture log;
    EXPECT_TRUE(s.serialize(out));
    EXPECT_EQ(out.str(), bytesOf(s.image));
    EXPECT_TRUE(log.has("Invalid checksum."));
    EXPECT_TRUE(log.has("Successfully serialized settings."));

    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_FALSE(s.serialize(failed));
}

TEST(DeviceSettings, DeserializeCurrentAndLegacyForms) {
    DeviceSettings source;
    source.adcOffset = 123;
    source.build();
    std::istringstream current(bytesOf(source.image));
    DeviceSettings s;
    ASSERT_TRUE(s.deserialize(current, 0x0110));
    EXPECT_EQ(s.adcOffset, 123);

    // Legacy: byte 8 is an unsigned offset in sixteenths; the old checksum is discarded.
    std::string legacy(16, '\0');
    for (int i = 0; i < 8; ++i) {
        legacy[static_cast<std::size_t>(i)] =
            static_cast<char>(source.image[static_cast<std::size_t>(i)]);
    }
    legacy[8] = 0x12;
    legacy[9] = 0x23;  // modes: A = 3, B = 2
    legacy[10] = 10;   // lineAValue low
    legacy[14] = 0x55;
    legacy[15] = 0x55;
    for (std::uint16_t version : {0x0100, 0x0105, 0x010F}) {
        std::istringstream in(legacy);
        DeviceSettings t;
        LogCapture log;
        ASSERT_TRUE(t.deserialize(in, version)) << version;
        EXPECT_EQ(t.adcOffset, 288);
        EXPECT_EQ(t.lineAMode, 3);
        EXPECT_EQ(t.lineBMode, 2);
        EXPECT_EQ(t.lineAValue, 10);
        EXPECT_EQ(t.storedChecksum(), t.computeChecksum());
        EXPECT_TRUE(log.has("Legacy file settings deserialize..."));
        EXPECT_TRUE(log.has("Successfully de-serialized."));
    }
    legacy[8] = static_cast<char>(0xFF);
    std::istringstream largest(legacy);
    DeviceSettings t;
    ASSERT_TRUE(t.deserialize(largest, 0x0100));
    EXPECT_EQ(t.adcOffset, 4080);
}

TEST(DeviceSettings, DeserializeRejectsShortAndFailedStreams) {
    DeviceSettings good;
    std::istringstream shortCurrent(bytesOf(good.image).substr(0, 16));
    DeviceSettings s;
    s.adcOffset = 7;
    s.build();
    const SettingsImage before = s.image;
    EXPECT_FALSE(s.deserialize(shortCurrent, 0x0110));
    EXPECT_EQ(s.image, before);

    // A legacy block gets a fresh checksum, so only the length can reveal truncation.
    std::istringstream shortLegacy(std::string(15, '\0'));
    EXPECT_FALSE(s.deserialize(shortLegacy, 0x0100));

    std::istringstream failed(bytesOf(good.image));
    failed.setstate(std::ios::failbit);
    EXPECT_FALSE(s.deserialize(failed, 0x0110));
}
