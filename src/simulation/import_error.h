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

// The message as one line: line breaks that came from the file (a simulation's name)
// become blanks.
inline std::string oneLine(std::string text) {
    for (char& c : text) {
        c = c == '\n' || c == '\r' ? ' ' : c;
    }
    return text;
}

// Every reader here answers with its result or the reason it has none.
template <class T>
using ImportResult = std::variant<T, ImportError>;

}  // namespace tevusb::simulation
