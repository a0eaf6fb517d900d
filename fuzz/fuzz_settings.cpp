// SPDX-License-Identifier: MIT
// Arbitrary bytes as a settings block, in every format version the reader knows.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "log/diagnostic_log.h"
#include "settings/device_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tevusb;
    static const bool silenced = [] {
        log::DiagnosticLog::instance().setSink(nullptr);
        return true;
    }();
    (void)silenced;
    if (size < 2) {
        return 0;
    }
    const auto version = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
    settings::DeviceSettings s;
    if (s.deserialize(in, version)) {
        // Whatever was accepted must build into an image that parses again.
        s.build();
        if (!s.parse()) {
            __builtin_trap();
        }
    }
    return 0;
}
