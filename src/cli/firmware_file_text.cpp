// SPDX-License-Identifier: MIT
#include "cli/firmware_file_text.h"

#include <system_error>

#include "cli/cli_path.h"
#include "device/firmware_file.h"

namespace tevusb::cli {

std::string firmwareFileProblem(const std::filesystem::path& path) {
    const std::string name = toText(path);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return name + " is a folder, not a firmware file.";
    }
    if (!std::filesystem::exists(path, ec)) {
        return name + " does not exist.";
    }
    device::FirmwareFile file;
    switch (device::loadFirmwareFile(path, file)) {
        case device::FirmwareLoadResult::Loaded:
            return {};
        case device::FirmwareLoadResult::CannotOpen:
            return name + " cannot be read.";
        case device::FirmwareLoadResult::WrongMagic:
            return name + " is not a firmware file (.dat): it does not begin as one.";
        case device::FirmwareLoadResult::WrongFormatVersion:
            return name + " is a firmware file of a format this program does not read.";
        case device::FirmwareLoadResult::TooShort: {
            const auto size = std::filesystem::file_size(path, ec);
            return name +
                   " is cut short: " + (ec ? std::string("it") : std::to_string(size) + " bytes") +
                   ", where a firmware file holds " + std::to_string(device::kFirmwareFileSize) +
                   ".";
        }
        case device::FirmwareLoadResult::LengthBeyondImage:
            return name + " is damaged: its image length is larger than the image.";
    }
    return {};
}

}  // namespace tevusb::cli
