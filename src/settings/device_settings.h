// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>

namespace tevusb::settings {

// How an ejection line fires. Only these four values are ever produced.
enum class LineMode : std::uint8_t { Disabled = 0, Time = 1, Apogee = 2, Altitude = 3 };

// A stored mode byte as the machine-readable outputs name it: "disabled", "time",
// "apogee", "altitude", or "unknown" for any other value.
constexpr const char* lineModeKey(std::uint8_t raw) {
    switch (raw) {
        case static_cast<std::uint8_t>(LineMode::Disabled):
            return "disabled";
        case static_cast<std::uint8_t>(LineMode::Time):
            return "time";
        case static_cast<std::uint8_t>(LineMode::Apogee):
            return "apogee";
        case static_cast<std::uint8_t>(LineMode::Altitude):
            return "altitude";
        default:
            return "unknown";
    }
}

// The 17 bytes that travel to and from the altimeter and into data-set files.
using SettingsImage = std::array<std::uint8_t, 17>;

inline constexpr std::size_t kLegacySettingsSize = 16;
inline constexpr std::uint16_t kLegacyFormatVersion = 0x0100;
inline constexpr std::uint16_t kCurrentFormatVersion = 0x0110;

// The altimeter's settings, both as the checksummed image and as typed fields.
// build() packs the fields into the image; parse() unpacks and checks the checksum.
struct DeviceSettings {
    SettingsImage image{};

    std::uint16_t maxReadings = 0;
    std::uint8_t auxFlag = 0;
    std::uint16_t auxWord = 0;
    std::uint16_t inhibitTime = 0;  // tenths of a second
    std::uint8_t auxByte = 0;
    std::int32_t adcOffset = 0;  // only the low 16 bits are kept in the image
    std::uint8_t lineAMode = 0;
    std::uint8_t lineBMode = 0;
    std::uint16_t lineAValue = 0;  // tenths of a second (Time) or metres (Altitude)
    std::uint16_t lineBValue = 0;

    DeviceSettings() { setDefaults(); }

    void setDefaults();
    bool build();
    bool parse();
    std::uint16_t computeChecksum() const;
    std::uint16_t storedChecksum() const;

    bool serialize(std::ostream& out) const;
    bool deserialize(std::istream& in, std::uint16_t formatVersion);
};

// Maps an old 16-byte settings block onto the current image, with a fresh checksum.
SettingsImage convertLegacyImage(const std::array<std::uint8_t, kLegacySettingsSize>& legacy);

std::uint16_t computeChecksum(const SettingsImage& image);

}  // namespace tevusb::settings
