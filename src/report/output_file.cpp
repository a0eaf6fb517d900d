// SPDX-License-Identifier: MIT
#include "report/output_file.h"

#include <cerrno>
#include <cstring>

#include "data/atomic_file.h"

namespace tevusb::report {

std::string writeOutputFile(const std::filesystem::path& path, const QByteArray& bytes) {
    const std::string name = path.string();
    if (bytes.isEmpty()) {
        return "Nothing was rendered for " + name + ".";
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return "Cannot write " + name + ": it is a folder.";
    }
    errno = 0;
    data::AtomicFile file(path);
    if (!file.isOpen()) {
        const int error = errno;
        return "Cannot write " + name +
               (error != 0 ? ": " + std::string(std::strerror(error)) : "") + ".";
    }
    file.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!file.commit()) {
        return "Writing " + name + " failed (disk full or not writable); nothing was written.";
    }
    return {};
}

}  // namespace tevusb::report
