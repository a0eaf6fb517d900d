// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#if defined(_WIN32)
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdlib>
#endif

namespace tevusb::cli {

#if defined(_WIN32)

namespace {

std::string utf8(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();  // the terminating zero
    return text;
}

bool isConsole(DWORD which) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(which), &mode) != 0;
}

UINT g_consoleCodePage = 0;

void restoreConsoleCodePage() {
    ::SetConsoleOutputCP(g_consoleCodePage);
}

}  // namespace

std::vector<std::string> commandLineWords(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        // Without the wide line the narrow one is all there is.
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i) {
        words.push_back(utf8(wide[i]));
    }
    ::LocalFree(wide);
    return words;
}

void useUtf8Console() {
    if (g_consoleCodePage != 0 || (!isConsole(STD_OUTPUT_HANDLE) && !isConsole(STD_ERROR_HANDLE))) {
        return;
    }
    const UINT before = ::GetConsoleOutputCP();
    if (before == CP_UTF8 || ::SetConsoleOutputCP(CP_UTF8) == 0) {
        return;
    }
    // The console outlives this program: it gets its own code page back.
    g_consoleCodePage = before;
    std::atexit(restoreConsoleCodePage);
}

#else

std::vector<std::string> commandLineWords(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void useUtf8Console() {}

#endif

}  // namespace tevusb::cli
