// SPDX-License-Identifier: MIT
#include "program_child.h"
#include "support/qt_test_main.h"

int main(int argc, char** argv) {
    if (tevusb::app::testing::isProgramChild()) {
        return tevusb::app::testing::runProgramChild(argc, argv);
    }
    return tevusb::testing::runQtTests(argc, argv);
}
