// SPDX-License-Identifier: MIT
#include "cli/report_exec.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/cli_path.h"
#include "cli/exit_code.h"

namespace tevusb::cli {

namespace {
constexpr const char* kHelperName = "tevusb-report";
bool g_verbose = false;

#if defined(_WIN32)
constexpr const char* kHelperFile = "tevusb-report.exe";

bool mayRun(const std::filesystem::path& program) {
    return ::_waccess(program.c_str(), 0) == 0;
}

// Windows hands a program one command line, which the C runtime splits again: quote each
// word so that spaces, quotes and backslashes in a file name arrive as they were.
std::string quoted(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) {
        return word;
    }
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (const char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, '\\');
    out.push_back('"');
    return out;
}

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const auto size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), length);
    return text;
}

// No exec on Windows: the helper runs as a child and its status becomes this program's.
// The words are UTF-8 and go over wide, so that names outside the ANSI code page arrive.
int runHelper(const std::filesystem::path& program, char* const* argv, std::string& why) {
    std::string line;
    for (char* const* a = argv; *a != nullptr; ++a) {
        line += (line.empty() ? "" : " ") + quoted(*a);
    }
    std::wstring commandLine = wide(line);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         nullptr, &startup, &child) == 0) {
        why = "Windows error " + std::to_string(::GetLastError());
        return -1;
    }
    ::CloseHandle(child.hThread);
    ::WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 0;
    const bool known = ::GetExitCodeProcess(child.hProcess, &status) != 0;
    ::CloseHandle(child.hProcess);
    return known ? static_cast<int>(status) : exit_code::kFailed;
}

std::filesystem::path runningProgram(std::error_code& ec) {
    std::wstring name(32768, L'\0');
    const DWORD length =
        ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0 || length >= name.size()) {
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
        return {};
    }
    name.resize(length);
    return std::filesystem::path(name);
}
#else
constexpr const char* kHelperFile = kHelperName;

bool mayRun(const std::filesystem::path& program) {
    return ::access(program.c_str(), X_OK) == 0;
}
// Returns only when the program could not be started.
int runHelper(const std::filesystem::path& program, char* const* argv, std::string& why) {
    ::execv(program.c_str(), argv);
    why = std::strerror(errno);
    return -1;
}

std::filesystem::path runningProgram(std::error_code& ec) {
    return std::filesystem::read_symlink("/proc/self/exe", ec);
}
#endif

}  // namespace

void setReportVerbose(bool verbose) {
    g_verbose = verbose;
}

bool reportVerbose() {
    return g_verbose;
}

std::vector<std::filesystem::path> reportHelperCandidates(const std::filesystem::path& self) {
    const std::filesystem::path folder = self.parent_path();
    return {folder / kHelperFile, (folder / TEVUSB_REPORT_HELPER_FROM_BIN).lexically_normal()};
}

int execReport(const std::vector<std::string>& words, bool verbose, std::ostream& err) {
    // The helper sits beside this program (or in the package's libexec folder); where the
    // system cannot say where this program is, the message below names what was missing.
    std::error_code ec;
    const std::filesystem::path self = runningProgram(ec);
    const std::vector<std::filesystem::path> candidates =
        ec ? std::vector<std::filesystem::path>{} : reportHelperCandidates(self);

    std::vector<std::string> arguments{kHelperName};
    if (verbose) {
        arguments.emplace_back("--verbose");
    }
    arguments.insert(arguments.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    std::string tried;
    for (const std::filesystem::path& helper : candidates) {
        if (!mayRun(helper)) {
            tried += (tried.empty() ? "" : ", ") + toText(helper);
            continue;
        }
        err.flush();
        std::cout.flush();
        std::string why;
        if (const int status = runHelper(helper, argv.data(), why); status >= 0) {
            return status;
        }
        err << "Cannot start " << toText(helper) << ": " << why << "\n";
        return exit_code::kFailed;
    }
    err << "The report program " << kHelperName << " is not installed (looked for "
        << (tried.empty() ? std::string("this program's own folder") : tried) << ").\n";
    return exit_code::kFailed;
}

}  // namespace tevusb::cli
