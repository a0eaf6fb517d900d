// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tevusb::data {

// Why a data-set file was not loaded: the kind for code that acts on it, and one line a
// flyer can read, naming the file, for a front that wants to say more than "could not load".
struct LoadError {
    enum class Kind {
        NotOpened,       // missing, a folder, or not readable
        NotDataSetFile,  // does not begin with the data-set file's mark
        Truncated,       // ends before the parts its header promises (an empty file too)
        UnknownVersion,  // a format version this program does not read
        BadChecksum,     // the stored altimeter settings fail their checksum
    };
    Kind kind = Kind::NotOpened;
    std::string message;
};

}  // namespace tevusb::data
