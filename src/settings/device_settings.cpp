// SPDX-License-Identifier: MIT
#include "settings/device_settings.h"

#include "log/diagnostic_log.h"

namespace tevusb::settings {

using log::logLine;

namespace {

void put16(SettingsImage& image, std::size_t at, std::uint16_t value) {
    image[at] = static_cast<std::uint8_t>(value & 0xFF);
    image[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t get16(const SettingsImage& image, std::size_t at) {
    return static_cast<std::uint16_t>(image[at] | (image[at + 1] << 8));
}

}  // namespace

std::uint16_t computeChecksum(const SettingsImage& image) {
    unsigned sum = 0;
    for (unsigned i = 0; i < 15; ++i) {
        sum += image[i] + i;
    }
    return static_cast<std::uint16_t>(sum);
}

SettingsImage convertLegacyImage(const std::array<std::uint8_t, kLegacySettingsSize>& legacy) {
    SettingsImage image{};
    for (std::size_t i = 0; i < 8; ++i) {
        image[i] = legacy[i];
    }
    put16(image, 8, static_cast<std::uint16_t>(legacy[8] << 4));
    for (std::size_t i = 9; i < kLegacySettingsSize; ++i) {
        image[i + 1] = legacy[i];
    }
    put16(image, 15, computeChecksum(image));
    return image;
}

void DeviceSettings::setDefaults() {
    maxReadings = 992;
    auxFlag = 1;
    auxWord = 60;
    inhibitTime = 20;
    auxByte = 80;
    adcOffset = 0;
    lineAMode = static_cast<std::uint8_t>(LineMode::Apogee);
    lineBMode = static_cast<std::uint8_t>(LineMode::Altitude);
    lineAValue = 150;
    lineBValue = 150;
    build();
}

bool DeviceSettings::build() {
    logLine("Building settings...");
    put16(image, 0, maxReadings);
    image[2] = auxFlag != 0 ? 0xFF : 0x00;
    put16(image, 3, auxWord);
    put16(image, 5, inhibitTime);
    image[7] = auxByte;
    put16(image, 8, static_cast<std::uint16_t>(adcOffset & 0xFFFF));
    image[10] = static_cast<std::uint8_t>(((lineBMode & 0x0F) << 4) | (lineAMode & 0x0F));
    put16(image, 11, lineAValue);
    put16(image, 13, lineBValue);
    put16(image, 15, computeChecksum());
    logLine("Done.");
    return true;
}

bool DeviceSettings::parse() {
    logLine("Parsing settings...");
    logLine("MaxReadings: ", maxReadings);
    maxReadings = get16(image, 0);
    auxFlag = image[2] != 0 ? 0xFF : 0x00;
    auxWord = get16(image, 3);
    inhibitTime = get16(image, 5);
    auxByte = image[7];
    adcOffset = static_cast<std::int16_t>(get16(image, 8));
    lineAMode = image[10] & 0x0F;
    lineBMode = image[10] >> 4;
    lineAValue = get16(image, 11);
    lineBValue = get16(image, 13);
    logLine("Line: ", log::Hex{image[10]});
    if (storedChecksum() != computeChecksum()) {
        logLine("Invalid checksum!");
        return false;
    }
    logLine("Checksum is valid.");
    logLine("Done.");
    return true;
}

std::uint16_t DeviceSettings::computeChecksum() const {
    return settings::computeChecksum(image);
}

std::uint16_t DeviceSettings::storedChecksum() const {
    return get16(image, 15);
}

bool DeviceSettings::serialize(std::ostream& out) const {
    if (!out) {
        return false;
    }
    if (storedChecksum() != computeChecksum()) {
        logLine("Invalid checksum.");
    }
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    logLine("Successfully serialized settings.");
    return true;
}

bool DeviceSettings::deserialize(std::istream& in, std::uint16_t formatVersion) {
    if (!in) {
        return false;
    }
    if ((formatVersion & 0xFFF0) == kLegacyFormatVersion) {
        logLine("Legacy file settings deserialize...");
        std::array<std::uint8_t, kLegacySettingsSize> legacy{};
        in.read(reinterpret_cast<char*>(legacy.data()),
                static_cast<std::streamsize>(legacy.size()));
        if (in.gcount() != static_cast<std::streamsize>(legacy.size())) {
            // The fresh checksum of a legacy block would hide the damage.
            return false;
        }
        image = convertLegacyImage(legacy);
    } else {
        SettingsImage incoming{};
        in.read(reinterpret_cast<char*>(incoming.data()),
                static_cast<std::streamsize>(incoming.size()));
        if (in.gcount() != static_cast<std::streamsize>(incoming.size())) {
            return false;
        }
        image = incoming;
    }
    if (!parse()) {
        return false;
    }
    logLine("Successfully de-serialized.");
    return true;
}

}  // namespace tevusb::settings
