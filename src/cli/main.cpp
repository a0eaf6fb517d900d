#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/file_commands.h"
#include "log/diagnostic_log.h"

namespace {

const char* kUsage =
    "Usage: tevusb-cli [--verbose] COMMAND ...\n"
    "File commands:\n"
    "  show FILE.tev                        what a data-set file holds\n"
    "  export FILE.tev --csv OUT [--set K]  write a set as CSV\n"
    "  export FILE.tev --xml OUT [--set K]  write a set as XML\n"
    "--verbose sends the diagnostic lines to standard error.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace tevusb;
    std::vector<std::string> words(argv + 1, argv + argc);
    cli::CliArgs args(std::move(words));
    const bool verbose = args.takeFlag("--verbose");
    log::DiagnosticLog::instance().setSink(verbose ? &std::cerr : nullptr);

    const auto command = args.takePositional();
    if (!command || *command == "help" || args.takeFlag("--help")) {
        (command ? std::cout : std::cerr) << kUsage;
        return command ? 0 : 2;
    }
    if (*command == "show") {
        return cli::runShow(args, std::cout, std::cerr);
    }
    if (*command == "export") {
        return cli::runExport(args, std::cout, std::cerr);
    }
    std::cerr << "Unknown command: " << *command << "\n" << kUsage;
    return 2;
}
