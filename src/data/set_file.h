// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "data/load_error.h"
#include "data/memory_packet.h"
#include "settings/device_settings.h"

namespace tevusb::data {

// The data-set file (*.tev): one set's packets, the settings in force and its comment.
// Little-endian throughout; the current version is written, the legacy one only read.
namespace set_file {

inline constexpr std::array<std::uint8_t, 16> kMagic = {
    0x78, 0x5A, 0xA7, 0xFF, 0x32, 0x04, 0x82, 0x4C, 0x93, 0x9F, 0x89, 0x2D, 0x31, 0xA4, 0x7A, 0xBC};
inline constexpr std::uint16_t kWrittenVersion = 0x0110;
inline constexpr std::size_t kHeaderSize = 26;
// Comments are typed in a dialog limited to 1023 characters; anything far beyond that
// is damage, and is cut rather than held in memory.
inline constexpr std::size_t kMaxCommentBytes = 1 << 20;

struct Contents {
    std::uint16_t version = 0;
    std::vector<MemoryPacket> packets;
    settings::DeviceSettings settings;
    std::string comment;
};

// A format version as people read it: "0x0110".
std::string formatVersionText(std::uint16_t version);

// Encodes packets (the set's run) with the settings image and comment.
std::string encode(const MemoryPacket* packets, std::size_t count,
                   const settings::DeviceSettings& settings, const std::string& comment);

// Decodes a file of either version. The settings start as a copy of `previous` so the
// log shows what the parse replaced. Empty on any fault: wrong magic, unknown version,
// truncated packets or settings, bad checksum.
std::optional<Contents> decode(std::istream& in, const settings::DeviceSettings& previous);
// The same, and on a fault `why` gets its kind and the reason as the end of a sentence
// whose subject is the file ("is cut short: ..."), so that the caller can put the file's
// name in front.
std::optional<Contents> decode(std::istream& in, const settings::DeviceSettings& previous,
                               LoadError& why);

}  // namespace set_file
}  // namespace tevusb::data
