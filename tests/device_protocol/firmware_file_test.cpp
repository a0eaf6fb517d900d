// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "support/firmware_builder.h"
#include "support/log_capture.h"

namespace tevusb::device::testing {
namespace {

using tevusb::testing::LogCapture;

// Every parse is done twice, from a stream and from bytes, and both must agree on the
// result and on the fields they got to.
FirmwareLoadResult load(const std::vector<std::uint8_t>& bytes, FirmwareFile& file) {
    file = FirmwareFile{};
    auto holder = std::make_unique<FirmwareFile>();
    FirmwareFile& fromStream = *holder;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    const auto streamResult = loadFirmwareFile(in, fromStream);
    const auto spanResult = loadFirmwareFile(std::span<const std::uint8_t>(bytes), file);
    EXPECT_EQ(streamResult, spanResult);
    EXPECT_EQ(fromStream.formatVersion, file.formatVersion);
    if (spanResult == FirmwareLoadResult::Loaded) {
        EXPECT_EQ(fromStream.bootloaderVersion, file.bootloaderVersion);
        EXPECT_EQ(fromStream.firmwareVersion, file.firmwareVersion);
        EXPECT_EQ(fromStream.image.length, file.image.length);
        EXPECT_TRUE(fromStream.image.bytes == file.image.bytes);
    }
    return spanResult;
}

class FirmwareFileTest : public ::testing::Test {
  protected:
    FirmwareBuilder builder;
    std::unique_ptr<FirmwareFile> file = std::make_unique<FirmwareFile>();
};

TEST_F(FirmwareFileTest, LoadsVersionsAndUnscramblesTheImage) {
    builder.bootloaderVersion = 0x0113;
    builder.firmwareVersion = 0x0152;
    builder.length = 1000;
    builder.fillBlock(0);
    builder.fillBlock(15);
    builder.image[1] = 0x00;
    auto bytes = builder.bytes();
    // The key as stored: a zero word reads back as the key itself.
    EXPECT_EQ(bytes[22 + 0], builder.image[0] ^ 0x1D);
    EXPECT_EQ(bytes[22 + 1], 0x6B);
    bytes.resize(bytes.size() + 100, 0xAB);  // trailing bytes are ignored

    ASSERT_EQ(load(bytes, *file), FirmwareLoadResult::Loaded);
    EXPECT_EQ(file->formatVersion, 0x0100);
    EXPECT_EQ(file->bootloaderVersion, 0x0113);
    EXPECT_EQ(file->firmwareVersion, 0x0152);
    EXPECT_EQ(file->image.length, 1000);
    EXPECT_TRUE(std::equal(builder.image.begin(), builder.image.end(), file->image.bytes.begin()));
}

TEST_F(FirmwareFileTest, WrongMagicAndWrongFormatVersion) {
    auto bytes = builder.bytes();
    bytes[15] ^= 0x01;
    EXPECT_EQ(load(bytes, *file), FirmwareLoadResult::WrongMagic);

    builder.formatVersion = 0x0101;
    EXPECT_EQ(load(builder.bytes(), *file), FirmwareLoadResult::WrongFormatVersion);
    EXPECT_EQ(file->formatVersion, 0x0101);
}

TEST_F(FirmwareFileTest, EveryCutIsTooShort) {
    const auto whole = builder.bytes();
    ASSERT_EQ(whole.size(), kFirmwareFileSize);
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{15}, std::size_t{16},
                            std::size_t{17}, std::size_t{18}, std::size_t{21}, std::size_t{22},
                            std::size_t{40000}, kFirmwareFileSize - 4, kFirmwareFileSize - 1}) {
        SCOPED_TRACE(cut);
        const std::vector<std::uint8_t> bytes(whole.begin(), whole.begin() + cut);
        EXPECT_EQ(load(bytes, *file), FirmwareLoadResult::TooShort);
    }
    // A cut magic is short even when its bytes are wrong: there is not enough to compare.
    const std::vector<std::uint8_t> junk(10, 0x00);
    EXPECT_EQ(load(junk, *file), FirmwareLoadResult::TooShort);
}

TEST_F(FirmwareFileTest, ImageLengthsAtTheEdges) {
    for (std::int32_t length : {0, -1, -64, INT32_MIN, 64, 65535, 65536}) {
        SCOPED_TRACE(length);
        builder.length = length;
        ASSERT_EQ(load(builder.bytes(), *file), FirmwareLoadResult::Loaded);
        EXPECT_EQ(file->image.length, length);
    }
    // More than the image holds: the file is damaged.
    for (std::int32_t length : {65537, 65599, 65600, INT32_MAX}) {
        SCOPED_TRACE(length);
        builder.length = length;
        EXPECT_EQ(load(builder.bytes(), *file), FirmwareLoadResult::LengthBeyondImage);
    }
}

TEST_F(FirmwareFileTest, BlocksPastTheImageCountAsErased) {
    FirmwareImage image;
    EXPECT_TRUE(image.blockErased(0));
    image.bytes[64 * 1023 + 63] = 0x00;
    EXPECT_FALSE(image.blockErased(1023));
    EXPECT_TRUE(image.blockErased(1022));
    EXPECT_TRUE(image.blockErased(1024));
    EXPECT_TRUE(image.blockErased(-1));
}

TEST_F(FirmwareFileTest, PathsThatCannotBeReadAndOneThatCan) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("tevusb_fw_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    LogCapture log;
    EXPECT_EQ(loadFirmwareFile(dir / "missing.dat", *file), FirmwareLoadResult::CannotOpen);
    EXPECT_EQ(loadFirmwareFile(dir, *file), FirmwareLoadResult::CannotOpen);
    EXPECT_FALSE(log.has("Reading file."));

    builder.length = 64;
    builder.fillBlock(1);
    const auto bytes = builder.bytes();
    std::ofstream(dir / "fw.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(loadFirmwareFile(dir / "fw.dat", *file), FirmwareLoadResult::Loaded);
    EXPECT_EQ(file->image.bytes[64], builder.image[64]);
    EXPECT_TRUE(log.has("Reading file."));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tevusb::device::testing
