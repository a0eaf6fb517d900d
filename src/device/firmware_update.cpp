// SPDX-License-Identifier: MIT
#include "device/firmware_update.h"

#include <array>
#include <cstdio>
#include <memory>

#include "device/altimeter_device.h"
#include "device/firmware_file.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

using log::Hex;
using log::logLine;

namespace {

constexpr std::size_t kReportSize = 65;
constexpr std::uint8_t kVersionQuery = 1;
constexpr std::uint8_t kWriteBlock = 2;
constexpr std::uint8_t kBlockAccepted = 1;

using Report = std::array<std::uint8_t, kReportSize>;

bool sendReport(HidLink& link, const Report& report) {
    if (!link.write(report.data(), report.size(), kMessageTimeoutMs)) {
        logLine("Failed to write.");
        return false;
    }
    return true;
}

bool receiveReport(HidLink& link, Report& report) {
    report.fill(0);
    if (!link.read(report.data(), report.size(), kMessageTimeoutMs)) {
        logLine("Failed to read.");
        return false;
    }
    return true;
}

int queryHardwareVersion(HidLink& link, FirmwareVersions& versions) {
    Report report{};
    report[1] = kVersionQuery;
    if (!sendReport(link, report) || !receiveReport(link, report)) {
        return update_result::kTransferFailed;
    }
    versions.hardware = static_cast<std::uint16_t>(report[1] | (report[2] << 8));
    if (!versionMatches(versions.hardware, kRequiredHardwareVersion)) {
        return update_result::kWrongHardware;
    }
    char text[8];
    std::snprintf(text, sizeof text, "%04x", unsigned(versions.hardware));
    logLine("Hardware Version: ", text);
    return update_result::kSuccess;
}

// One block travels as three reports in the same buffer: the command, the address, the
// 64 bytes. The bootloader answers once for all three.
int writeBlock(HidLink& link, const FirmwareImage& image, int index) {
    const auto address = static_cast<std::uint16_t>(index * kFirmwareBlockSize);
    Report report{};
    report[1] = kWriteBlock;
    if (!sendReport(link, report)) {
        return update_result::kTransferFailed;
    }
    report[1] = static_cast<std::uint8_t>(address & 0xFF);
    report[2] = static_cast<std::uint8_t>(address >> 8);
    if (!sendReport(link, report)) {
        return update_result::kTransferFailed;
    }
    const auto* block = image.bytes.data() + static_cast<std::size_t>(index) * kFirmwareBlockSize;
    std::copy(block, block + kFirmwareBlockSize, report.begin() + 1);
    if (!sendReport(link, report) || !receiveReport(link, report)) {
        return update_result::kTransferFailed;
    }
    if (report[1] != kBlockAccepted) {
        logLine("Protocol error.");
        return update_result::kProtocolError;
    }
    logLine("Written Block: ", Hex{address});
    return update_result::kSuccess;
}

int checkFile(FirmwareLoadResult loaded, const FirmwareFile& file, FirmwareVersions& versions) {
    switch (loaded) {
        case FirmwareLoadResult::TooShort:
            return update_result::kProtocolError;
        case FirmwareLoadResult::CannotOpen:
            return update_result::kCannotOpenFile;
        case FirmwareLoadResult::WrongMagic:
            return update_result::kNotFirmwareFile;
        default:
            break;
    }
    versions.fileFormat = file.formatVersion;
    if (loaded == FirmwareLoadResult::WrongFormatVersion) {
        return update_result::kWrongFileVersion;
    }
    versions.bootloader = file.bootloaderVersion;
    if (!versionMatches(file.bootloaderVersion, kRequiredBootloaderVersion)) {
        return update_result::kWrongBootloader;
    }
    versions.firmware = file.firmwareVersion;
    if (!versionMatches(file.firmwareVersion, kRequiredFirmwareVersion)) {
        return update_result::kWrongFirmware;
    }
    if (loaded != FirmwareLoadResult::Loaded) {
        return update_result::kNotFirmwareFile;
    }
    return update_result::kSuccess;
}

}  // namespace

int AltimeterDevice::updateFirmware(FirmwareProgressCallback progress, void* context,
                                    const std::filesystem::path& path, FirmwareVersions& versions) {
    if (!isBootloader()) {
        return update_result::kNotBootloader;
    }
    // Every check of the file comes before anything reaches the device.
    auto file = std::make_unique<FirmwareFile>();
    const int checked = checkFile(loadFirmwareFile(path, *file), *file, versions);
    if (checked != update_result::kSuccess) {
        return checked;
    }
    if (!link.open()) {
        return update_result::kCannotOpenLink;
    }
    // Toward zero: a negative length considers no block at all.
    const int highestBlock = file->image.length / static_cast<int>(kFirmwareBlockSize);
    logLine("MaxBlockIndex: ", highestBlock);
    logLine("Connected to device.");
    const int hardware = queryHardwareVersion(link, versions);
    if (hardware != update_result::kSuccess) {
        return hardware;
    }
    for (int i = 0; i <= highestBlock; ++i) {
        if (progress != nullptr) {
            progress(context, i, highestBlock);
        }
        // Includes the block just past a full image, which does not exist.
        if (file->image.blockErased(i)) {
            continue;
        }
        const int written = writeBlock(link, file->image, i);
        if (written != update_result::kSuccess) {
            return written;
        }
    }
    return update_result::kSuccess;
}

}  // namespace tevusb::device
