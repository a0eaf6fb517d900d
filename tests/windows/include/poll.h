// SPDX-License-Identifier: MIT
#pragma once
// Lets the shared tests that wait on a descriptor compile for Windows. Windows has no
// poll() on pipes: it always fails here, and the tests that rely on it are listed in
// tests/windows/exclusions.cmake.
#include <errno.h>

struct pollfd {
    int fd;
    short events;
    short revents;
};
#define POLLIN 0x0001

inline int poll(pollfd*, unsigned long, int) {
    errno = ENOSYS;
    return -1;
}
