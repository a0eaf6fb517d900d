// SPDX-License-Identifier: MIT
#include "log/windows_process.h"

#if defined(_WIN32)
#include <windows.h>

#include <clocale>
#include <cstdio>
#include <iostream>

namespace tevusb::log {

void useSystemCodePage() {
    std::setlocale(LC_CTYPE, "");
}

bool attachStartingConsole() {
    if (::AttachConsole(ATTACH_PARENT_PROCESS) == 0) {
        return false;
    }
    FILE* ignored = nullptr;
    const bool out = ::freopen_s(&ignored, "CONOUT$", "w", stdout) == 0;
    const bool err = ::freopen_s(&ignored, "CONOUT$", "w", stderr) == 0;
    std::cout.clear();
    std::cerr.clear();
    return out && err;
}

}  // namespace tevusb::log

#endif
