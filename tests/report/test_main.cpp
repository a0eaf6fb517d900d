// SPDX-License-Identifier: MIT
#include "support/qt_test_main.h"

// Printing needs a full application object; the offscreen platform needs no display.
int main(int argc, char** argv) {
    return tevusb::testing::runQtTests(argc, argv, {.quietLog = true});
}
