// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <variant>

namespace tevusb::simulation {

// Why a simulation file could not be read: one line a flyer can act on, naming the file
// and, where it helps, the line and column.
struct ImportError {
    std::string message;
};

// Every reader here answers with its result or the reason it has none.
template <class T>
using ImportResult = std::variant<T, ImportError>;

}  // namespace tevusb::simulation
