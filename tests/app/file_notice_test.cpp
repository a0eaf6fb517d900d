// SPDX-License-Identifier: MIT
// What File > Export CSV / Export XML say after their designed steps: the file written, or
// the file that was not written and why, in a line over the graph that asks nothing.
#include <QDir>
#include <QLabel>

#include "app/file_notice.h"
#include "app/graph_widget.h"
#include "app/main_menu.h"
#include "app_fixture.h"
#include "support/screenshot.h"

namespace tevusb::app {
namespace {

using testing::AppTest;

TEST_F(AppTest, ExportsSayWhatTheyWroteOrWhyNotWithoutAnExtraBox) {
    openWindow();
    auto* notice = m_window->findChild<FileNotice*>(QStringLiteral("fileNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isHidden());
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    const auto readings = m_store.current.size();
    ASSERT_GT(readings, 0u);
    EXPECT_TRUE(notice->isHidden()) << "opening a file is no export";

    const QString csv = tempPath("said.csv");
    m_prompts.choose(csv);
    trigger(command::kExportCsv);
    EXPECT_TRUE(m_prompts.boxes().empty());
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(),
              QStringLiteral("Wrote set 1 (%1 readings) to %2.").arg(readings).arg(csv));
    // It lies over the graph's foot, inside the window.
    EXPECT_TRUE(m_window->graphWidget()->geometry().contains(notice->geometry()));

    // Failures: the designed box first, unchanged, then the file and the reason.
    struct Case {
        int command;
        QString target;
        QString reason;
    };
    QDir(tempPath(QString())).mkpath(QStringLiteral("a folder.xml"));
    const Case cases[] = {
        {command::kExportCsv, tempPath("no/such/folder/out.csv"), "its folder does not exist"},
        {command::kExportXml, tempPath("a folder.xml"), "it is a folder"},
    };
    std::size_t boxes = 0;
    for (const Case& c : cases) {
        m_prompts.choose(c.target);
        trigger(c.command);
        ASSERT_EQ(m_prompts.boxes().size(), ++boxes);
        EXPECT_TRUE(m_prompts.boxes().back().text.startsWith("Error saving file. Make sure"));
        EXPECT_EQ(notice->text(), QStringLiteral("Cannot write %1: %2.").arg(c.target, c.reason));
        EXPECT_TRUE(notice->isVisible());
    }
    // The store is as the designed failure leaves it.
    EXPECT_EQ(m_store.current.size(), readings);
    EXPECT_TRUE(tevusb::testing::saveShot(*m_window, "export-notice.png"));
}

}  // namespace
}  // namespace tevusb::app
