// SPDX-License-Identifier: MIT
#include "log/journal_stream.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>

#if defined(__linux__)
#include <sys/stat.h>
#endif

namespace tevusb::log {

namespace {

// Reads a whole decimal number; false when `text` holds anything else.
[[maybe_unused]] bool parseWhole(std::string_view text, unsigned long long& value) {
    if (text.empty()) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

bool isJournalStream(const char* journalStream, int fd) {
#if defined(__linux__)
    if (journalStream == nullptr) {
        return false;
    }
    const std::string_view value(journalStream);
    const std::size_t colon = value.find(':');
    unsigned long long device = 0;
    unsigned long long inode = 0;
    if (colon == std::string_view::npos || !parseWhole(value.substr(0, colon), device) ||
        !parseWhole(value.substr(colon + 1), inode)) {
        return false;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        return false;
    }
    return static_cast<unsigned long long>(status.st_dev) == device &&
           static_cast<unsigned long long>(status.st_ino) == inode;
#else
    // Only systemd's journal announces itself this way.
    (void)journalStream;
    (void)fd;
    return false;
#endif
}

bool verboseRequested(const char* value) {
    return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

bool diagnosticsWanted(bool verboseOption) {
    constexpr int kStandardOutput = 1;
    if (verboseOption || verboseRequested(std::getenv("TEVUSB_VERBOSE"))) {
        return true;
    }
#if defined(_WIN32)
    // A Windows window program has no standard output to write to unless asked.
    return false;
#endif
    return !isJournalStream(std::getenv("JOURNAL_STREAM"), kStandardOutput);
}

}  // namespace tevusb::log
