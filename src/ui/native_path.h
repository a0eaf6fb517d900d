// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <filesystem>

namespace tevusb::ui {

// A file name as Qt holds it and as the file calls take it, Unicode on both sides (UTF-8
// on Linux, UTF-16 on Windows): a name outside Windows' ANSI code page, "Flüge Ω.tev",
// survives the trip, which a conversion through 8-bit local text does not.
inline std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(name.toStdU16String());
}

inline QString toQString(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

}  // namespace tevusb::ui
