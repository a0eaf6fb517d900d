// SPDX-License-Identifier: MIT
#include "app/program.h"

int main(int argc, char** argv) {
    return tevusb::app::Program::run(argc, argv);
}
