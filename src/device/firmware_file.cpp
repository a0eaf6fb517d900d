// SPDX-License-Identifier: MIT
#include "device/firmware_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "log/diagnostic_log.h"

namespace tevusb::device {

namespace {

constexpr std::array<std::uint8_t, 16> kMagic{0x30, 0xFF, 0xBE, 0x3D, 0x61, 0xB9, 0x71, 0x4A,
                                              0xB1, 0xE7, 0x91, 0x36, 0x63, 0x93, 0x0E, 0xC2};

// Fills exactly `count` bytes or reports that the input ran out.
class StreamSource {
  public:
    explicit StreamSource(std::istream& in) : m_in(in) {}
    bool take(std::uint8_t* out, std::size_t count) {
        m_in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
        return static_cast<std::size_t>(m_in.gcount()) == count;
    }

  private:
    std::istream& m_in;
};

class SpanSource {
  public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool take(std::uint8_t* out, std::size_t count) {
        if (m_bytes.size() - m_offset < count) {
            return false;
        }
        std::memcpy(out, m_bytes.data() + m_offset, count);
        m_offset += count;
        return true;
    }

  private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};

template <typename Source>
bool takeWord(Source& source, std::uint16_t& value) {
    std::uint8_t raw[2];
    if (!source.take(raw, sizeof raw)) {
        return false;
    }
    value = static_cast<std::uint16_t>(raw[0] | (raw[1] << 8));
    return true;
}

template <typename Source>
FirmwareLoadResult parse(Source& source, FirmwareFile& file) {
    std::array<std::uint8_t, kMagic.size()> magic{};
    if (!source.take(magic.data(), magic.size())) {
        return FirmwareLoadResult::TooShort;
    }
    if (magic != kMagic) {
        return FirmwareLoadResult::WrongMagic;
    }
    if (!takeWord(source, file.formatVersion)) {
        return FirmwareLoadResult::TooShort;
    }
    if (file.formatVersion != kFirmwareFileFormat) {
        return FirmwareLoadResult::WrongFormatVersion;
    }
    std::uint8_t length[4];
    if (!takeWord(source, file.bootloaderVersion) || !takeWord(source, file.firmwareVersion) ||
        !source.take(file.image.bytes.data(), file.image.bytes.size()) ||
        !source.take(length, sizeof length)) {
        return FirmwareLoadResult::TooShort;
    }
    const std::uint32_t raw = std::uint32_t(length[0]) | (std::uint32_t(length[1]) << 8) |
                              (std::uint32_t(length[2]) << 16) | (std::uint32_t(length[3]) << 24);
    file.image.length = static_cast<std::int32_t>(raw);
    // The image is stored with every little-endian word XORed with the key.
    for (std::size_t i = 0; i < file.image.bytes.size(); i += 2) {
        file.image.bytes[i] ^= static_cast<std::uint8_t>(kFirmwareKey & 0xFF);
        file.image.bytes[i + 1] ^= static_cast<std::uint8_t>(kFirmwareKey >> 8);
    }
    // A length past the image would make the update address blocks that do not exist;
    // such a file is damaged and must not reach the device.
    if (file.image.length > static_cast<std::int32_t>(kFirmwareImageSize)) {
        return FirmwareLoadResult::LengthBeyondImage;
    }
    return FirmwareLoadResult::Loaded;
}

}  // namespace

bool FirmwareImage::blockErased(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= kFirmwareImageSize / kFirmwareBlockSize) {
        return true;
    }
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(index * kFirmwareBlockSize);
    return std::all_of(begin, begin + kFirmwareBlockSize, [](std::uint8_t b) { return b == 0xFF; });
}

FirmwareLoadResult loadFirmwareFile(std::istream& in, FirmwareFile& file) {
    StreamSource source(in);
    return parse(source, file);
}

FirmwareLoadResult loadFirmwareFile(std::span<const std::uint8_t> bytes, FirmwareFile& file) {
    SpanSource source(bytes);
    return parse(source, file);
}

FirmwareLoadResult loadFirmwareFile(const std::filesystem::path& path, FirmwareFile& file) {
    // A folder opens as a stream on some systems but is no file to read.
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return FirmwareLoadResult::CannotOpen;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return FirmwareLoadResult::CannotOpen;
    }
    log::logLine("Reading file.");
    return loadFirmwareFile(in, file);
}

}  // namespace tevusb::device
