// SPDX-License-Identifier: MIT
#pragma once
// The few POSIX calls the shared tests use for scaffolding (a fresh temporary folder, an
// environment variable for one test), given to the Windows build of the tests. Included
// before every test source there; never part of the program.
#if defined(_WIN32)
#include <direct.h>
#include <io.h>
#include <process.h>
#include <stdlib.h>
#include <string.h>

// The trailing XXXXXX become letters and digits; a name already taken is tried again.
inline char* mkdtemp(char* pattern) {
    const size_t length = strlen(pattern);
    if (length < 6 || strcmp(pattern + length - 6, "XXXXXX") != 0) {
        return nullptr;
    }
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static unsigned long long state = 0;
    if (state == 0) {
        state =
            (static_cast<unsigned long long>(_getpid()) << 32) ^ reinterpret_cast<size_t>(&state);
    }
    for (int attempt = 0; attempt < 1000; ++attempt) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        unsigned long long bits = state >> 16;
        for (size_t i = length - 6; i < length; ++i) {
            pattern[i] = kAlphabet[bits % 36];
            bits /= 36;
        }
        if (_mkdir(pattern) == 0) {
            return pattern;
        }
    }
    return nullptr;
}

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && getenv(name) != nullptr) {
        return 0;
    }
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

inline int unsetenv(const char* name) {
    return _putenv_s(name, "") == 0 ? 0 : -1;
}
#endif
