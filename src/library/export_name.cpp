// SPDX-License-Identifier: MIT
#include "library/export_name.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "library/flight_name.h"

namespace tevusb::library {

namespace {

constexpr std::size_t kPartLength = 40;  // in UTF-16 units, as the names were always cut

struct CodePoint {
    char32_t value = 0;
    std::size_t bytes = 1;
    bool valid = false;
};

CodePoint decodeUtf8(const std::string& s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || at + length > s.size()) {
        return {0xFFFD, 1, false};
    }
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return {0xFFFD, 1, false};
        }
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    return {value, length, true};
}

// Letters and digits of any script. Outside ASCII and Latin-1 the blocks of punctuation,
// symbols, arrows, emoji and private use are refused and the rest (the scripts) kept.
bool isLetterOrDigit(char32_t c) {
    if (c < 0x80) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    }
    if (c < 0x100) {
        return (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0xAA || c == 0xB5 || c == 0xBA ||
               c == 0xB2 || c == 0xB3 || c == 0xB9 || (c >= 0xBC && c <= 0xBE);
    }
    const bool symbol = (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) ||
                        (c >= 0xD800 && c <= 0xF8FF) || (c >= 0xFE10 && c <= 0xFE6F) ||
                        (c >= 0xFF00 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) ||
                        (c >= 0xFFF0 && c <= 0xFFFF) || (c >= 0x1F000 && c <= 0x1FAFF) ||
                        c > 0x10FFFF;
    return !symbol;
}

std::string cleanPart(const std::string& part) {
    std::string clean;
    std::size_t units = 0;
    for (std::size_t at = 0; at < part.size();) {
        const CodePoint cp = decodeUtf8(part, at);
        const std::size_t width = cp.value >= 0x10000 ? 2 : 1;
        if (units + width > kPartLength) {
            break;
        }
        if (cp.valid && (cp.value == '-' || isLetterOrDigit(cp.value))) {
            clean.append(part, at, cp.bytes);
        } else {
            // One '_' per UTF-16 unit, as the names have always been made.
            clean.append(width, '_');
        }
        units += width;
        at += cp.bytes;
    }
    return clean;
}

const char* extensionOf(ExportFormat format) {
    return format == ExportFormat::Tev ? ".tev" : format == ExportFormat::Csv ? ".csv" : ".xml";
}

constexpr std::size_t kNameBytes = 120;

bool refusedInName(char32_t c) {
    return c < 0x20 || c == 0x7F ||
           std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos;
}

// Names Windows keeps for devices, whatever the extension: "CON.tev" cannot be made there.
bool reservedName(const std::string& name) {
    static const std::array<const char*, 22> kReserved = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    const std::string stem = name.substr(0, name.find('.'));
    for (const char* r : kReserved) {
        const std::string_view word(r);
        if (stem.size() == word.size() &&
            std::equal(stem.begin(), stem.end(), word.begin(), [](char a, char b) {
                return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
            })) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string flightFileName(const FlightRecord& flight, ExportFormat format) {
    std::string text = flightName(flight);
    for (std::size_t at = text.find(" / "); at != std::string::npos; at = text.find(" / ", at)) {
        text.replace(at, 3, " - ");
    }
    std::string name;
    for (std::size_t at = 0; at < text.size();) {
        const CodePoint cp = decodeUtf8(text, at);
        if (name.size() + cp.bytes > kNameBytes) {
            break;
        }
        if (!cp.valid || refusedInName(cp.value)) {
            name.push_back('_');
        } else {
            name.append(text, at, cp.bytes);
        }
        at += cp.bytes;
    }
    // A leading dot hides the file (or makes "..");  Windows drops trailing dots and blanks.
    if (!name.empty() && name.front() == '.') {
        name.front() = '_';
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.pop_back();
    }
    if (name.empty() || reservedName(name)) {
        name.insert(name.begin(), '_');
    }
    return name + extensionOf(format);
}

std::string exportFileName(const FlightRecord& flight, ExportFormat format, ExportNaming naming) {
    return naming == ExportNaming::FlightName ? flightFileName(flight, format)
                                              : exportFileName(flight, format);
}

std::string exportFileName(const FlightRecord& flight, ExportFormat format) {
    std::string name;
    for (const char c : flight.downloadedAt.substr(0, 16)) {
        if (c != ':') {
            name.push_back(c == 'T' ? '_' : c);
        }
    }
    name += "_set" + std::to_string(flight.setNumber);
    for (const std::string* part : {&flight.rocket, &flight.motor}) {
        const std::string clean = cleanPart(*part);
        if (!clean.empty()) {
            name += "_" + clean;
        }
    }
    return name + extensionOf(format);
}

std::string numberedFileName(const std::string& name, int n) {
    const std::size_t dot = name.find_last_of('.');
    const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    return base + "-" + std::to_string(n) + ext;
}

}  // namespace tevusb::library
