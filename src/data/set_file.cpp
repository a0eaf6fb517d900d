// SPDX-License-Identifier: MIT
#include "data/set_file.h"

#include <algorithm>

#include "log/diagnostic_log.h"

namespace tevusb::data::set_file {

using log::logLine;

namespace {

void put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

bool read16(std::istream& in, std::uint16_t& v) {
    unsigned char b[2];
    if (!in.read(reinterpret_cast<char*>(b), 2)) {
        return false;
    }
    v = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool read32(std::istream& in, std::uint32_t& v) {
    unsigned char b[4];
    if (!in.read(reinterpret_cast<char*>(b), 4)) {
        return false;
    }
    v = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
        (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

bool atEndOrFailed(std::istream& in) {
    return !in || in.peek() == std::char_traits<char>::eof();
}

bool readPackets(std::istream& in, Contents& out) {
    std::uint16_t count = 0;
    if (!read16(in, count)) {
        return false;
    }
    logLine("Packet count: ", count);
    out.packets.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        if (atEndOrFailed(in)) {
            return false;
        }
        MemoryPacket packet;
        packet.bytes.fill(0xFF);
        packet.bytes[1] = 0;
        in.read(reinterpret_cast<char*>(packet.bytes.data()), MemoryPacket::kSize);
        if (in.gcount() != static_cast<std::streamsize>(MemoryPacket::kSize)) {
            // A packet cut short by the end of the file is a truncated file.
            return false;
        }
        logLine("Read packet ", i);
        out.packets.push_back(packet);
    }
    return true;
}

// Reads up to L bytes, stopping at the first zero; a missing terminator or a length
// beyond the file simply ends the comment where the data ends.
std::string readComment(std::istream& in) {
    std::uint32_t length = 0;
    if (!read32(in, length)) {
        return {};
    }
    std::string text;
    const std::size_t limit = std::min<std::size_t>(length, kMaxCommentBytes);
    char chunk[4096];
    while (text.size() < limit) {
        const auto want = static_cast<std::streamsize>(std::min(sizeof chunk, limit - text.size()));
        in.read(chunk, want);
        const auto got = static_cast<std::size_t>(in.gcount());
        const char* end = chunk + got;
        const char* zero = std::find(static_cast<const char*>(chunk), end, '\0');
        text.append(chunk, static_cast<std::size_t>(zero - chunk));
        if (zero != end || got < static_cast<std::size_t>(want)) {
            break;
        }
    }
    return text;
}

}  // namespace

std::string encode(const MemoryPacket* packets, std::size_t count,
                   const settings::DeviceSettings& settings, const std::string& comment) {
    std::string out;
    out.reserve(kHeaderSize + count * MemoryPacket::kSize + 21 + comment.size() + 1);
    out.append(reinterpret_cast<const char*>(kMagic.data()), kMagic.size());
    put16(out, kWrittenVersion);
    put16(out, 0x0120);
    put16(out, 0x0150);
    put16(out, 0x0150);
    put16(out, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        out.append(reinterpret_cast<const char*>(packets[i].bytes.data()), MemoryPacket::kSize);
    }
    if (settings.storedChecksum() != settings.computeChecksum()) {
        logLine("Invalid checksum.");
    }
    out.append(reinterpret_cast<const char*>(settings.image.data()), settings.image.size());
    logLine("Successfully serialized settings.");
    logLine("Comment: ", comment);
    put32(out, static_cast<std::uint32_t>(comment.size() + 1));
    out.append(comment);
    out.push_back('\0');
    return out;
}

std::optional<Contents> decode(std::istream& in, const settings::DeviceSettings& previous) {
    std::array<std::uint8_t, 16> magic{};
    in.read(reinterpret_cast<char*>(magic.data()), magic.size());
    if (!in || magic != kMagic) {
        logLine("Not an TEV file.");
        return std::nullopt;
    }
    Contents out;
    if (!read16(in, out.version)) {
        return std::nullopt;
    }
    const bool legacy = out.version < settings::kCurrentFormatVersion;
    if (legacy) {
        if ((out.version & 0xFFF0) != settings::kLegacyFormatVersion) {
            return std::nullopt;
        }
        logLine("Legacy import. Ver: ", log::Hex{out.version});
    } else if (out.version >= 0x0120) {
        return std::nullopt;
    }
    std::uint16_t ignored = 0;
    for (int i = 0; i < 3; ++i) {
        if (!read16(in, ignored)) {
            return std::nullopt;
        }
    }
    logLine("Correct version.");
    if (!readPackets(in, out)) {
        return std::nullopt;
    }
    if (atEndOrFailed(in)) {
        return std::nullopt;
    }
    out.settings = previous;
    const std::uint16_t settingsVersion =
        legacy ? settings::kLegacyFormatVersion : settings::kCurrentFormatVersion;
    if (!out.settings.deserialize(in, settingsVersion)) {
        return std::nullopt;
    }
    if (!legacy) {
        out.comment = readComment(in);
        logLine("Comment: ", out.comment);
    }
    return out;
}

}  // namespace tevusb::data::set_file
