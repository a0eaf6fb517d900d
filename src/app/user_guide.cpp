// SPDX-License-Identifier: MIT
#include "app/user_guide.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>

#include "app/main_menu.h"
#include "text/string_table.h"
#include "ui/user_prompts.h"
#include "ui/window_placement.h"

namespace tevusb::app {

void addUserGuideItem(QMainWindow& window) {
    QMenu* help = window.menuBar()->findChild<QMenu*>(QStringLiteral("Help"));
    QAction* about = menuAction(window, command::kAbout);
    if (help == nullptr) {
        return;
    }
    auto* guide = new QAction(QStringLiteral("User Guide"), help);
    guide->setObjectName(QString::number(command::kUserGuide));
    help->insertAction(about, guide);
    QObject::connect(guide, &QAction::triggered, &window, [&window] { openUserGuide(&window); });
}

void openUserGuide(QWidget* parent) {
    const QString file = userGuideFile();
    if (file.isEmpty()) {
        const QString caption =
            QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
        ui::userPrompts().messageBox(
            parent,
            QStringLiteral("The User Guide is not installed; looked for\n") +
                ui::userGuideCandidates().join(QLatin1Char('\n')),
            caption, ui::kMbOk | ui::kMbIconInformation);
        return;
    }
    auto* browser =
        parent ? parent->findChild<QTextBrowser*>(QStringLiteral("UserGuide")) : nullptr;
    if (browser == nullptr) {
        browser = new QTextBrowser(parent);
        browser->setWindowFlag(Qt::Window);
        browser->setObjectName(QStringLiteral("UserGuide"));
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setWindowTitle(QStringLiteral("tevusb User Guide"));
        browser->setOpenExternalLinks(true);
        // The screenshots lie beside the installed guide, or in the source tree's docs.
        browser->setSearchPaths(
            {QFileInfo(file).absolutePath(), QStringLiteral(TEVUSB_SOURCE_DOCS)});
        browser->setSource(QUrl::fromLocalFile(file));
        browser->resize(860, 900);
    }
    ui::showInFront(browser, parent);
}

}  // namespace tevusb::app
