// SPDX-License-Identifier: MIT
#include "support/qt_test_main.h"

int main(int argc, char** argv) {
    return tevusb::testing::runQtTests(argc, argv);
}
