// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace tevusb::testing {

// What a child program printed, in the LF line ends the tests expect. On Windows C's text
// mode writes each "\n" to a console or pipe as CR LF, as Windows programs do; the files
// the programs write themselves are unaffected and are compared byte for byte.
inline QByteArray withLfLineEnds(QByteArray text) {
#if defined(_WIN32)
    text.replace("\r\n", "\n");
#endif
    return text;
}

}  // namespace tevusb::testing
