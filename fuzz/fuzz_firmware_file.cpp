// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the firmware file parser, from memory and as a stream, and
// walks the blocks an update would consider, so that no file can make the program read
// outside the image or disagree with itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "device/firmware_file.h"

using tevusb::device::FirmwareFile;
using tevusb::device::FirmwareLoadResult;
using tevusb::device::kFirmwareBlockSize;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto fromBytes = std::make_unique<FirmwareFile>();
    auto fromStream = std::make_unique<FirmwareFile>();
    const auto bytesResult =
        tevusb::device::loadFirmwareFile(std::span<const std::uint8_t>(data, size), *fromBytes);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const auto streamResult = tevusb::device::loadFirmwareFile(in, *fromStream);
    if (bytesResult != streamResult) {
        std::abort();
    }
    if (bytesResult != FirmwareLoadResult::Loaded) {
        return 0;
    }
    if (fromBytes->image.length != fromStream->image.length ||
        fromBytes->image.bytes != fromStream->image.bytes) {
        std::abort();
    }
    const int highest = fromBytes->image.length / static_cast<int>(kFirmwareBlockSize);
    int erased = 0;
    for (int i = 0; i <= highest; ++i) {
        erased += fromBytes->image.blockErased(i) ? 1 : 0;
    }
    return erased < 0 ? 1 : 0;
}
