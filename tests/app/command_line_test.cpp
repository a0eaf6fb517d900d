// SPDX-License-Identifier: MIT
// The program as a user starts it: options, a file on the command line, and where the
// diagnostic lines go. The processes are the test binary in its child role (the program's
// own entry point) and, for --help and --version, the installed program itself.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "program_child.h"
#include "support/program_run.h"

namespace tevusb::app {
namespace {

using testing::ChildRun;
using testing::runChild;
using tevusb::testing::environmentWithoutDisplay;

class CommandLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        m_output = m_temp.filePath("stdout.txt");
        QFile file(m_output);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    // The JOURNAL_STREAM value that names `path`.
    static QString journalValue(const QString& path) {
        struct stat status {};
        if (stat(QFile::encodeName(path).constData(), &status) != 0) {
            return {};
        }
        return QStringLiteral("%1:%2")
            .arg(static_cast<qulonglong>(status.st_dev))
            .arg(static_cast<qulonglong>(status.st_ino));
    }

    // The program's window offscreen on the simulator with a flight given (the sample's
    // unless another is named).
    ChildRun startWithFlight(QProcessEnvironment environment, QStringList extra = {},
                             const QString& flight = TEVUSB_SAMPLE_FLIGHT) {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert(testing::kProgramChildVariable, "1");
        QStringList arguments{"--simulator"};
        arguments << extra << flight;
        return runChild(QCoreApplication::applicationFilePath(), arguments, environment, m_output);
    }

    QTemporaryDir m_temp;
    QString m_output;
};

TEST_F(CommandLineTest, HelpAndVersionNeedNoDisplay) {
    const QProcessEnvironment bare = environmentWithoutDisplay();
    const ChildRun help = runChild(TEVUSB_PROGRAM, {"--help"}, bare, m_output);
    EXPECT_EQ(help.status, 0) << help.standardError.constData();
    EXPECT_TRUE(help.standardOutput.startsWith("Usage: tevusb "))
        << help.standardOutput.constData();
    EXPECT_TRUE(help.standardOutput.contains("--library DIR"));
    EXPECT_TRUE(help.standardError.isEmpty()) << help.standardError.constData();

    QFile::resize(m_output, 0);
    const ChildRun version = runChild(TEVUSB_PROGRAM, {"--simulator", "--version"}, bare, m_output);
    EXPECT_EQ(version.status, 0) << version.standardError.constData();
    EXPECT_EQ(version.standardOutput, QByteArray("tevusb 1.50\n"));

    QFile::resize(m_output, 0);
    const ChildRun cli = runChild(TEVUSB_CLI_PROGRAM, {"--version"}, bare, m_output);
    EXPECT_EQ(cli.status, 0);
    EXPECT_EQ(cli.standardOutput, QByteArray("tevusb-cli 1.50\n"));
}

TEST_F(CommandLineTest, UnknownOptionIsOneLineAndStatusTwo) {
    QProcessEnvironment environment = environmentWithoutDisplay();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // Without it the toolkit adds a warning line of its own.
    environment.insert("XDG_RUNTIME_DIR", m_temp.path());
    const ChildRun run = runChild(TEVUSB_PROGRAM, {"--simulatr"}, environment, m_output);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.constData();
    EXPECT_TRUE(run.standardError.contains("'--simulatr'"));
}

TEST_F(CommandLineTest, RedirectedOutputGetsEveryDiagnosticLine) {
    const ChildRun run = startWithFlight(environmentWithoutDisplay());
    ASSERT_EQ(run.status, 0) << run.standardError.constData();
    EXPECT_TRUE(run.standardOutput.contains("Done.\n- TEV USB -\n\n"))
        << run.standardOutput.constData();
    const qsizetype loaded = run.standardOutput.indexOf("\nLoaded data set.\n");
    EXPECT_GT(loaded, 0) << run.standardOutput.constData();
    EXPECT_GT(run.standardOutput.indexOf("\nNT Version: 501\nsize: 58\n"), loaded);

    // A journal variable inherited from a parent, with output since redirected elsewhere.
    QProcessEnvironment inherited = environmentWithoutDisplay();
    inherited.insert("JOURNAL_STREAM", journalValue(m_temp.path()));
    QFile::resize(m_output, 0);
    const ChildRun redirected = startWithFlight(inherited);
    ASSERT_EQ(redirected.status, 0);
    EXPECT_EQ(redirected.standardOutput, run.standardOutput);
}

TEST_F(CommandLineTest, AFlightNamedOutsideTheCodePageOpensFromTheCommandLine) {
    // As Explorer or a file manager hands a double-clicked flight over: its name as a word.
    const QString folder = m_temp.filePath(QStringLiteral("Fl\u00fcge \u03a9"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString flight = folder + QStringLiteral("/H\u00f6he \u2708.tev");
    ASSERT_TRUE(QFile::copy(TEVUSB_SAMPLE_FLIGHT, flight));
    const ChildRun run = startWithFlight(environmentWithoutDisplay(), {}, flight);
    // Status 0: the window came up and showed the flight.
    EXPECT_EQ(run.status, 0) << run.standardError.constData();
}

TEST_F(CommandLineTest, JournalGetsNoDiagnosticLineUnlessAsked) {
    QProcessEnvironment journal = environmentWithoutDisplay();
    journal.insert("JOURNAL_STREAM", journalValue(m_output));
    const ChildRun quiet = startWithFlight(journal);
    // Status 0 means the window came up and showed the flight.
    ASSERT_EQ(quiet.status, 0) << quiet.standardError.constData();
    EXPECT_TRUE(quiet.standardOutput.isEmpty()) << quiet.standardOutput.constData();

    // The flight shown goes to the recent files, in the settings folder the child was
    // given: test runs leave the user's own settings alone.
    const QString settings = m_temp.filePath("settings");
    journal.insert(testing::kChildSettingsVariable, settings);
    const ChildRun option = startWithFlight(journal, {"--verbose"});
    ASSERT_EQ(option.status, 0);
    EXPECT_TRUE(option.standardOutput.contains("Loaded data set.\n"));
    QFile stored(settings + "/tevusb/tevusb.ini");
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_TRUE(stored.readAll().contains("sample-flight.tev"));

    QFile::resize(m_output, 0);
    journal.insert("TEVUSB_VERBOSE", "1");
    const ChildRun variable = startWithFlight(journal);
    ASSERT_EQ(variable.status, 0);
    EXPECT_TRUE(variable.standardOutput.contains("Loaded data set.\n"));
}

}  // namespace
}  // namespace tevusb::app
