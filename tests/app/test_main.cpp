// SPDX-License-Identifier: MIT
#include <cstring>

#include "program_child.h"
#include "support/qt_test_main.h"

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], tevusb::app::testing::kProgramChildWord) == 0) {
        return tevusb::app::testing::runProgramChild(argc, argv);
    }
    return tevusb::testing::runQtTests(argc, argv);
}
