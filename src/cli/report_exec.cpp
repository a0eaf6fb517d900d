// SPDX-License-Identifier: MIT
#include "cli/report_exec.h"

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

#include "cli/exit_code.h"

namespace tevusb::cli {

namespace {
constexpr const char* kHelperName = "tevusb-report";
bool g_verbose = false;

#if defined(_WIN32)
bool mayRun(const std::filesystem::path& program) {
    return ::_waccess(program.c_str(), 0) == 0;
}
void replaceProcess(const std::filesystem::path& program, char* const* argv) {
    ::_execv(program.string().c_str(), argv);
}
#else
bool mayRun(const std::filesystem::path& program) {
    return ::access(program.c_str(), X_OK) == 0;
}
void replaceProcess(const std::filesystem::path& program, char* const* argv) {
    ::execv(program.c_str(), argv);
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
    return {folder / kHelperName, (folder / TEVUSB_REPORT_HELPER_FROM_BIN).lexically_normal()};
}

int execReport(const std::vector<std::string>& words, bool verbose, std::ostream& err) {
    // The helper sits beside this program (or in the package's libexec folder); where the
    // system cannot say where this program is, the message below names what was missing.
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
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
        replaceProcess(helper, argv.data());
        err << "Cannot start " << helper.string() << ": " << std::strerror(errno) << "\n";
        return exit_code::kFailed;
    }
    err << "The report program " << kHelperName << " is not installed (looked for "
        << (tried.empty() ? std::string("this program's own folder") : tried) << ").\n";
    return exit_code::kFailed;
}

}  // namespace tevusb::cli
