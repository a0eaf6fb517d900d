// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>

#include "data/data_set_store.h"
#include "data/set_file.h"
#include "log/diagnostic_log.h"

namespace tevusb::fuzz {

// The store a data-set file of these bytes would give the program, or nothing when the
// reader refuses them. The diagnostic log is silenced: millions of runs would fill it.
inline std::optional<data::DataSetStore> storeFromFileBytes(const std::uint8_t* bytes,
                                                            std::size_t size) {
    static const bool silenced = [] {
        log::DiagnosticLog::instance().setSink(nullptr);
        return true;
    }();
    (void)silenced;
    std::istringstream in(std::string(reinterpret_cast<const char*>(bytes), size));
    settings::DeviceSettings previous;
    auto contents = data::set_file::decode(in, previous);
    if (!contents) {
        return std::nullopt;
    }
    std::optional<data::DataSetStore> store(std::in_place);
    store->packets = std::move(contents->packets);
    store->settings = contents->settings;
    store->comments = {contents->comment};
    return store;
}

}  // namespace tevusb::fuzz
