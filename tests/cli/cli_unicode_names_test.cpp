// SPDX-License-Identifier: MIT
// tevusb-cli started as a program, with file and folder names that no single 8-bit code
// page can write ("Flüge Ω/Höhe ✈.tev"): the words reach the file calls, the files are
// written where they were asked for, and the names are printed back as UTF-8.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/pdf_tools.h"
#include "support/program_run.h"

namespace {

using tevusb::testing::ProgramRun;

ProgramRun runCli(const QStringList& arguments, const QString& library = {}) {
    QProcessEnvironment environment = tevusb::testing::environmentWithoutDisplay();
    if (!library.isEmpty()) {
        environment.insert(QStringLiteral("TEVUSB_LIBRARY"), library);
    }
    return tevusb::testing::runProgram(QStringLiteral(TEVUSB_CLI), arguments, environment);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CliUnicodeNames : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(m_folder));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TEVUSB_SAMPLE_FLIGHT), flight));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TEVUSB_SAMPLE_FLIGHT), plainFlight));
    }
    QString at(const QString& name) const { return m_dir.filePath(name); }

    const QString m_folder = QStringLiteral("Fl\u00fcge \u03a9");
    QTemporaryDir m_dir;

  public:
    const QString flight = at(m_folder + QStringLiteral("/H\u00f6he \u2708.tev"));
    const QString plainFlight = at(QStringLiteral("plain.tev"));
    const QString library = at(m_folder + QStringLiteral("/Bibliothek \u2708"));
};

TEST_F(CliUnicodeNames, ShowAndExportReadAndWriteSuchNames) {
    const ProgramRun shown = runCli({QStringLiteral("show"), flight});
    const ProgramRun plainShown = runCli({QStringLiteral("show"), plainFlight});
    ASSERT_EQ(shown.status, 0) << shown.err.toStdString();
    EXPECT_EQ(shown.out, plainShown.out);
    EXPECT_TRUE(shown.out.contains("Readings: 1004")) << shown.out.toStdString();

    // Side by side, each column headed by its file's name.
    const ProgramRun stats = runCli({QStringLiteral("stats"), flight, plainFlight});
    ASSERT_EQ(stats.status, 0) << stats.err.toStdString();
    const QByteArray heading = stats.out.left(stats.out.indexOf('\n'));
    EXPECT_TRUE(heading.contains("H\xc3\xb6he \xe2\x9c\x88.tev") && heading.contains("plain.tev"))
        << heading.toStdString();

    // The same table under either name, and the name printed as given.
    const QString csv = at(m_folder + QStringLiteral("/\u03a9 \u2708.csv"));
    const ProgramRun exported =
        runCli({QStringLiteral("export"), flight, QStringLiteral("--csv"), csv});
    const QString plainCsv = at(QStringLiteral("plain.csv"));
    const ProgramRun plain =
        runCli({QStringLiteral("export"), plainFlight, QStringLiteral("--csv"), plainCsv});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_EQ(exported.out, QByteArray("Wrote ") + csv.toUtf8() + " (1004 readings).\n");
    const QByteArray table = fileBytes(csv);
    EXPECT_FALSE(table.isEmpty());
    EXPECT_EQ(table, fileBytes(plainCsv));

    const QString xml = at(m_folder + QStringLiteral("/\u2708.xml"));
    EXPECT_EQ(runCli({QStringLiteral("export"), flight, QStringLiteral("--xml"), xml}).status, 0);
    EXPECT_TRUE(fileBytes(xml).startsWith("<xml>"));

    // A file that is not there is named in the message, in UTF-8, and nothing breaks.
    const QString missing = at(m_folder + QStringLiteral("/fehlt \u2708.tev"));
    const ProgramRun absent = runCli({QStringLiteral("show"), missing});
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(absent.err.contains(missing.toUtf8() + " does not exist."))
        << absent.err.toStdString();
}

TEST_F(CliUnicodeNames, ALibraryInSuchAFolderImportsListsAndExports) {
    const QString option = QStringLiteral("--library");
    const ProgramRun imported =
        runCli({option, library, QStringLiteral("library"), QStringLiteral("import"), flight});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains("Imported " + flight.toUtf8() + " as #1"))
        << imported.out.toStdString();
    EXPECT_TRUE(QFile::exists(library + QStringLiteral("/index.sqlite")));

    // Named by the environment instead of the option: read as Unicode there too.
    const ProgramRun listed = runCli({QStringLiteral("library"), QStringLiteral("list")}, library);
    ASSERT_EQ(listed.status, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains("1 flight\n")) << listed.out.toStdString();

    const QString csv = at(m_folder + QStringLiteral("/\u2708 Flug.csv"));
    const QString plainCsv = at(QStringLiteral("flight.csv"));
    const ProgramRun exported =
        runCli({option, library, QStringLiteral("library"), QStringLiteral("export"),
                QStringLiteral("1"), QStringLiteral("--csv"), csv});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, QByteArray("Saved ") + csv.toUtf8() + "\n");
    ASSERT_EQ(runCli({option, library, QStringLiteral("library"), QStringLiteral("export"),
                      QStringLiteral("1"), QStringLiteral("--csv"), plainCsv})
                  .status,
              0);
    EXPECT_FALSE(fileBytes(csv).isEmpty());
    EXPECT_EQ(fileBytes(csv), fileBytes(plainCsv));

    // Into the folder itself: the file takes the flight's name there.
    const ProgramRun intoFolder =
        runCli({option, library, QStringLiteral("library"), QStringLiteral("export"),
                QStringLiteral("1"), QStringLiteral("--tev"), at(m_folder)});
    ASSERT_EQ(intoFolder.status, 0) << intoFolder.err.toStdString();
    EXPECT_TRUE(intoFolder.out.startsWith("Saved " + at(m_folder).toUtf8()))
        << intoFolder.out.toStdString();

    // A damaged index is set aside beside itself, in that folder, and the flight comes back.
    {
        QFile index(library + QStringLiteral("/index.sqlite"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly | QIODevice::Truncate));
        index.write(QByteArray(200, 'x'));
    }
    const ProgramRun rebuilt =
        runCli({option, library, QStringLiteral("library"), QStringLiteral("rebuild")});
    ASSERT_EQ(rebuilt.status, 0) << rebuilt.err.toStdString();
    // (Windows joins the index's name with a backslash.)
    EXPECT_TRUE(rebuilt.out.contains("moved to " + library.toUtf8()) &&
                rebuilt.out.contains("index.sqlite.damaged-"))
        << rebuilt.out.toStdString();
    EXPECT_EQ(QDir(library).entryList({QStringLiteral("index.sqlite.damaged-*")}).size(), 1);
    EXPECT_TRUE(runCli({QStringLiteral("library"), QStringLiteral("list")}, library)
                    .out.contains("1 flight\n"));
}

TEST_F(CliUnicodeNames, ReportsAreWrittenUnderSuchNames) {
    // The report program is a second process: the names must survive that hand-over too.
    const QString pdf = at(m_folder + QStringLiteral("/Bericht \u2708.pdf"));
    const ProgramRun report =
        runCli({QStringLiteral("report"), flight, QStringLiteral("--pdf"), pdf,
                QStringLiteral("--rocket"), QStringLiteral("\u03a9 \"Flug\" \\ 2")});
    ASSERT_EQ(report.status, 0) << report.err.toStdString();
    EXPECT_TRUE(report.out.startsWith("Wrote " + pdf.toUtf8())) << report.out.toStdString();
    EXPECT_TRUE(fileBytes(pdf).startsWith("%PDF"));
    const QString text = tevusb::testing::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("\u03a9 \"Flug\" \\ 2"))) << text.toStdString();

    // From a library whose archive lies under such a folder.
    ASSERT_EQ(runCli({QStringLiteral("--library"), library, QStringLiteral("library"),
                      QStringLiteral("import"), flight})
                  .status,
              0);
    const QString fromLibrary = at(m_folder + QStringLiteral("/\u03a9.pdf"));
    const ProgramRun archived = runCli({QStringLiteral("--library"), library,
                                        QStringLiteral("library"), QStringLiteral("report"),
                                        QStringLiteral("1"), QStringLiteral("--pdf"), fromLibrary});
    ASSERT_EQ(archived.status, 0) << archived.err.toStdString();
    EXPECT_TRUE(fileBytes(fromLibrary).startsWith("%PDF"));
}

}  // namespace
