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

// The reason a decode stopped, kept as the clause that follows the file's name.
std::nullopt_t refuse(LoadError& why, LoadError::Kind kind, std::string reason) {
    why.kind = kind;
    why.message = std::move(reason);
    return std::nullopt;
}

const char* const kCutInHeader = "is cut short: the file ends inside its header";

bool readPackets(std::istream& in, Contents& out, LoadError& why) {
    std::uint16_t count = 0;
    if (!read16(in, count)) {
        refuse(why, LoadError::Kind::Truncated, kCutInHeader);
        return false;
    }
    logLine("Packet count: ", count);
    out.packets.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        MemoryPacket packet;
        packet.bytes.fill(0xFF);
        packet.bytes[1] = 0;
        const bool whole =
            !atEndOrFailed(in) &&
            in.read(reinterpret_cast<char*>(packet.bytes.data()), MemoryPacket::kSize).gcount() ==
                static_cast<std::streamsize>(MemoryPacket::kSize);
        if (!whole) {
            // A packet cut short by the end of the file is a truncated file.
            refuse(why, LoadError::Kind::Truncated,
                   "is cut short: the file ends after " + std::to_string(i) + " of its " +
                       std::to_string(count) + " packets");
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

std::string formatVersionText(std::uint16_t version) {
    static const char* digits = "0123456789abcdef";
    std::string s = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        s.push_back(digits[(version >> shift) & 0xF]);
    }
    return s;
}

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
    LoadError ignored;
    return decode(in, previous, ignored);
}

std::optional<Contents> decode(std::istream& in, const settings::DeviceSettings& previous,
                               LoadError& why) {
    std::array<std::uint8_t, 16> magic{};
    in.read(reinterpret_cast<char*>(magic.data()), magic.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    if (!in || magic != kMagic) {
        logLine("Not an TEV file.");
        // A file that stops inside a correct mark was cut short; any other start is some
        // other kind of file, which is what the flyer most likely picked by mistake.
        if (got == 0) {
            return refuse(why, LoadError::Kind::Truncated, "is empty");
        }
        if (!std::equal(magic.begin(), magic.begin() + static_cast<std::ptrdiff_t>(got),
                        kMagic.begin())) {
            return refuse(why, LoadError::Kind::NotDataSetFile,
                          "is not a data-set file (.tev): it does not begin as one");
        }
        return refuse(why, LoadError::Kind::Truncated, kCutInHeader);
    }
    Contents out;
    if (!read16(in, out.version)) {
        return refuse(why, LoadError::Kind::Truncated, kCutInHeader);
    }
    const bool legacy = out.version < settings::kCurrentFormatVersion;
    const bool known =
        legacy ? (out.version & 0xFFF0) == settings::kLegacyFormatVersion : out.version < 0x0120;
    if (!known) {
        return refuse(why, LoadError::Kind::UnknownVersion,
                      "has format version " + formatVersionText(out.version) +
                          ", which this program does not read (it reads " +
                          formatVersionText(settings::kLegacyFormatVersion) + " to 0x011f)");
    }
    if (legacy) {
        logLine("Legacy import. Ver: ", log::Hex{out.version});
    }
    std::uint16_t ignored = 0;
    for (int i = 0; i < 3; ++i) {
        if (!read16(in, ignored)) {
            return refuse(why, LoadError::Kind::Truncated, kCutInHeader);
        }
    }
    logLine("Correct version.");
    if (!readPackets(in, out, why)) {
        return std::nullopt;
    }
    if (atEndOrFailed(in)) {
        return refuse(why, LoadError::Kind::Truncated,
                      "is cut short: the file ends before the altimeter settings");
    }
    out.settings = previous;
    const std::uint16_t settingsVersion =
        legacy ? settings::kLegacyFormatVersion : settings::kCurrentFormatVersion;
    if (!out.settings.deserialize(in, settingsVersion)) {
        // The settings read fails on a short block (the stream ran dry) or, with every
        // byte there, on their checksum.
        if (!in) {
            return refuse(why, LoadError::Kind::Truncated,
                          "is cut short: the file ends inside the altimeter settings");
        }
        return refuse(why, LoadError::Kind::BadChecksum,
                      "is damaged: the altimeter settings stored in it fail their checksum");
    }
    if (!legacy) {
        out.comment = readComment(in);
        logLine("Comment: ", out.comment);
    }
    return out;
}

}  // namespace tevusb::data::set_file
