// SPDX-License-Identifier: MIT
#pragma once
// Lets the shared tests that limit the file size compile for Windows, which has no such
// limit: setting one always fails here, and the tests that rely on it are listed in
// tests/windows/exclusions.cmake.
#include <errno.h>
#include <signal.h>

#define RLIMIT_FSIZE 1
#define SIGXFSZ 25
typedef unsigned long long rlim_t;
struct rlimit {
    rlim_t rlim_cur;
    rlim_t rlim_max;
};

inline int getrlimit(int, rlimit* limit) {
    limit->rlim_cur = limit->rlim_max = ~0ULL;
    return 0;
}
inline int setrlimit(int, const rlimit*) {
    errno = ENOSYS;
    return -1;
}
