// SPDX-License-Identifier: MIT
#include "app/program.h"

#if defined(_WIN32)
#include <string_view>

#include "log/windows_process.h"
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
    tevusb::log::useSystemCodePage();
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--verbose") {
            tevusb::log::attachStartingConsole();
            break;
        }
    }
#endif
    return tevusb::app::Program::run(argc, argv);
}
