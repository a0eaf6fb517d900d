// SPDX-License-Identifier: MIT
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/main_menu.h"
#include "app_fixture.h"
#include "ui/native_path.h"

namespace tevusb::app {
namespace {

using testing::AppTest;
using testing::kSetBackground;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST_F(AppTest, OpeningAFlightShowsItsFirstSet) {
    openWindow();
    ASSERT_TRUE(testing::isUniform(m_window->surface().snapshot(), kSetBackground));
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);

    ASSERT_EQ(m_prompts.files().size(), 1u);
    const ui::FileDialogRequest request = m_prompts.files()[0].request;
    EXPECT_EQ(request.mode, ui::FileDialogRequest::Mode::Open);
    EXPECT_EQ(request.title, "Load data set");
    EXPECT_EQ(request.filterName, "TEV USB Data");
    EXPECT_EQ(request.pattern, "*.tev");
    EXPECT_TRUE(request.mustExist);
    EXPECT_EQ(m_prompts.files()[0].owner, m_window.get());
    EXPECT_TRUE(m_prompts.boxes().empty());

    EXPECT_GT(m_store.current.size(), 0u);
    EXPECT_EQ(m_store.current.setIndex, 0);
    EXPECT_GT(m_store.scale.xSpan, 0);
    EXPECT_FALSE(testing::isUniform(m_window->surface().snapshot(), kSetBackground));
    const std::string log = logText();
    const auto loaded = log.find("Loaded data set.\n");
    ASSERT_NE(loaded, std::string::npos);
    EXPECT_NE(log.find("NT Version: 501\nsize: 58\n", loaded), std::string::npos);
}

TEST_F(AppTest, FileThatCannotBeLoadedIsReportedAndTheGraphStays) {
    openWindow();
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    const QImage shown = m_window->surface().snapshot();
    const std::size_t packets = m_store.packets.size();
    const int updates = logCount("Updating buffer.");

    const QString bad = tempPath("bad.tev");
    ASSERT_TRUE(writeFile(bad, QByteArray("not a data set at all", 21)));
    m_prompts.choose(bad);
    trigger(command::kOpen);

    ASSERT_EQ(m_prompts.boxes().size(), 1u);
    const auto box = m_prompts.boxes()[0];
    EXPECT_EQ(box.text, "Could not load file. Make sure the file is valid and not locked.");
    EXPECT_EQ(box.caption, "TEV USB 1.50");
    EXPECT_EQ(box.type, ui::kMbIconHand);
    EXPECT_EQ(m_window->surface().snapshot(), shown);
    EXPECT_EQ(m_store.packets.size(), packets);
    EXPECT_EQ(logCount("Updating buffer."), updates);
    EXPECT_EQ(logCount("Loaded data set."), 1);
    EXPECT_EQ(logCount("NT Version: 501"), 2);
}

TEST_F(AppTest, CancelledOpenDoesNothing) {
    openWindow();
    const std::string before = logText();
    trigger(command::kOpen);  // no path scripted: the user cancels
    EXPECT_EQ(m_prompts.files().size(), 1u);
    EXPECT_TRUE(m_prompts.boxes().empty());
    EXPECT_EQ(logText(), before);
    EXPECT_EQ(m_store.current.size(), 0u);
}

TEST_F(AppTest, ExportWithNothingShownAsksNothingAndWritesNothing) {
    openWindow();
    const QString path = tempPath("out.csv");
    m_prompts.choose(path);
    m_prompts.choose(path);
    trigger(command::kExportCsv);
    trigger(command::kExportXml);
    EXPECT_TRUE(m_prompts.files().empty());
    EXPECT_TRUE(m_prompts.boxes().empty());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(logCount("Current Set: 0"), 0);
}

TEST_F(AppTest, ExportsWriteWhatTheStoreWrites) {
    openWindow();
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    ASSERT_GT(m_store.current.size(), 0u);

    struct Case {
        int id;
        QString name, title, filter, pattern, suffix;
    };
    const Case cases[] = {
        {command::kExportCsv, "menu.csv", "Export to CSV", "Excel CSV", "*.csv", "csv"},
        {command::kExportXml, "menu.xml", "Export to XML", "XML", "*.xml", "xml"},
    };
    for (const Case& c : cases) {
        m_prompts.choose(tempPath(c.name));
        trigger(c.id);
        const ui::FileDialogRequest request = m_prompts.files().back().request;
        EXPECT_EQ(request.mode, ui::FileDialogRequest::Mode::Save);
        EXPECT_EQ(request.title, c.title);
        EXPECT_EQ(request.filterName, c.filter);
        EXPECT_EQ(request.pattern, c.pattern);
        EXPECT_EQ(request.defaultSuffix, c.suffix);
        EXPECT_TRUE(request.overwritePrompt);
    }
    ASSERT_TRUE(m_store.exportCsv(ui::toPath(tempPath("store.csv")), 0));
    ASSERT_TRUE(m_store.exportXml(ui::toPath(tempPath("store.xml")), 0));
    const QByteArray csv = readAll(tempPath("menu.csv"));
    EXPECT_FALSE(csv.isEmpty());
    EXPECT_EQ(csv, readAll(tempPath("store.csv")));
    const QByteArray xml = readAll(tempPath("menu.xml"));
    EXPECT_FALSE(xml.isEmpty());
    EXPECT_EQ(xml, readAll(tempPath("store.xml")));
    EXPECT_EQ(logCount("Current Set: 0"), 2);
    EXPECT_TRUE(m_prompts.boxes().empty());
}

// Names outside any 8-bit code page ("Ω", "✈") open and export as any other: on Windows
// they reach the file calls as UTF-16, not through the local code page.
TEST_F(AppTest, AFlightNamedOutsideTheLocalCodePageOpensAndExports) {
    openWindow();
    const QString folder = tempPath(QStringLiteral("Flüge Ω"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString flight = folder + QStringLiteral("/Höhe ✈.tev");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TEVUSB_SAMPLE_FLIGHT), flight));
    m_prompts.choose(flight);
    trigger(command::kOpen);
    EXPECT_TRUE(m_prompts.boxes().empty());
    ASSERT_GT(m_store.current.size(), 0u);
    EXPECT_EQ(m_window->fileCommands().shownFile(), ui::toPath(flight));

    const QString csv = folder + QStringLiteral("/Höhe ✈.csv");
    m_prompts.choose(csv);
    trigger(command::kExportCsv);
    EXPECT_TRUE(m_prompts.boxes().empty());
    EXPECT_FALSE(readAll(csv).isEmpty());
}

TEST_F(AppTest, ExportThatCannotBeWrittenIsReported) {
    openWindow();
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    m_prompts.choose(tempPath("no/such/folder/out.csv"));
    trigger(command::kExportCsv);
    m_prompts.choose(tempPath("no/such/folder/out.xml"));
    trigger(command::kExportXml);
    ASSERT_EQ(m_prompts.boxes().size(), 2u);
    for (const auto& box : m_prompts.boxes()) {
        EXPECT_TRUE(box.text.startsWith("Error saving file. Make sure that it is not write"));
        EXPECT_EQ(box.type, ui::kMbIconHand);
    }
    EXPECT_GT(m_store.current.size(), 0u);
}

TEST_F(AppTest, SetChosenInTheDownloadIsShownAndNoneMeansTheFirst) {
    openWindow();
    ASSERT_TRUE(m_store.loadSetFile(TEVUSB_SAMPLE_FLIGHT));
    m_window->showSelectedSet(-1);
    EXPECT_EQ(logCount("Selected Set: -1"), 1);
    EXPECT_EQ(m_store.current.setIndex, 0);
    EXPECT_GT(m_store.current.size(), 0u);
    EXPECT_FALSE(testing::isUniform(m_window->surface().snapshot(), kSetBackground));

    // A set beyond the last one shows the plain background.
    m_window->showSelectedSet(m_store.setCount());
    EXPECT_EQ(m_store.current.size(), 0u);
    EXPECT_TRUE(testing::isUniform(m_window->surface().snapshot(), kSetBackground));
}

}  // namespace
}  // namespace tevusb::app
