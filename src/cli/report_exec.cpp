// SPDX-License-Identifier: MIT
#include "cli/report_exec.h"

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <iostream>

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

// No exec on Windows: the helper runs as a child and its status becomes this program's.
int runHelper(const std::filesystem::path& program, char* const* argv) {
    std::vector<std::string> words;
    for (char* const* a = argv; *a != nullptr; ++a) {
        words.push_back(quoted(*a));
    }
    std::vector<const char*> line;
    for (const std::string& w : words) {
        line.push_back(w.c_str());
    }
    line.push_back(nullptr);
    const intptr_t status = ::_spawnv(_P_WAIT, program.string().c_str(), line.data());
    return static_cast<int>(status);
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
int runHelper(const std::filesystem::path& program, char* const* argv) {
    ::execv(program.c_str(), argv);
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
            tried += (tried.empty() ? "" : ", ") + helper.string();
            continue;
        }
        err.flush();
        std::cout.flush();
        if (const int status = runHelper(helper, argv.data()); status >= 0) {
            return status;
        }
        err << "Cannot start " << helper.string() << ": " << std::strerror(errno) << "\n";
        return exit_code::kFailed;
    }
    err << "The report program " << kHelperName << " is not installed (looked for "
        << (tried.empty() ? std::string("this program's own folder") : tried) << ").\n";
    return exit_code::kFailed;
}

}  // namespace tevusb::cli
