// SPDX-License-Identifier: MIT
// tevusb-report: the report command of tevusb-cli, kept apart because it needs Qt.
#include <QGuiApplication>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/exit_code.h"
#include "cli/report/report_command.h"
#include "log/diagnostic_log.h"
#if defined(_WIN32)
#include "log/windows_process.h"
#endif

namespace {

bool g_verbose = false;

// Qt's own notes (a missing runtime folder, font substitutions) are not the user's
// concern on a command line; they go to standard error only with --verbose.
void qtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (g_verbose || type == QtFatalMsg) {
        std::cerr << message.toStdString() << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tevusb;
    // UTF-8 words, as tevusb-cli hands them on: on Windows read from the wide command line.
    std::vector<std::string> words = cli::commandLineWords(argc, argv);
    cli::useUtf8Console();
    // tevusb-cli puts --verbose first; anywhere else the word is an option's value (a
    // rocket called "--verbose"), which the report command reads as such.
    g_verbose = !words.empty() && words.front() == "--verbose";
    if (g_verbose) {
        words.erase(words.begin());
    }
    cli::CliArgs args(std::move(words));
    log::DiagnosticLog::instance().setSink(g_verbose ? &std::cerr : nullptr);
    qInstallMessageHandler(qtMessages);
    // Reports are drawn off screen; a display, if there is one, is never needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#if defined(_WIN32)
    log::useSystemCodePage();
    // Off screen, Qt reads the fonts from a folder: on Windows the system's own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR") && !qEnvironmentVariableIsEmpty("WINDIR")) {
        qputenv("QT_QPA_FONTDIR", qgetenv("WINDIR") + "\\Fonts");
    }
#endif
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    // Whatever the command could not foresee ends it with a message, never with an abort.
    try {
        return cli::runReportCommand(args, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "tevusb-report stopped: " << error.what() << "\n";
    }
    return cli::exit_code::kFailed;
}
