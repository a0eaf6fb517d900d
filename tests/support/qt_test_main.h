// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::testing {

struct QtTestOptions {
    // Loading and decoding write progress lines nobody reads in these tests.
    bool quietLog = false;
};

// Runs the test program's tests inside a full application object on the offscreen
// platform (no display needed), with preferences kept in a folder of the run's own.
int runQtTests(int argc, char** argv, const QtTestOptions& options = {});

}  // namespace tevusb::testing
