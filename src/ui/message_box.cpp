// SPDX-License-Identifier: MIT
#include "ui/message_box.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include "text/string_table.h"
#include "ui/window_thread_call.h"

namespace tevusb::ui {

namespace {

constexpr qsizetype kMaxText = 255;

MessageResult showOnWindowThread(QWidget* owner, int stringId, unsigned type) {
    const QString caption =
        QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
    return userPrompts().messageBox(owner, messageText(stringId), caption, type);
}

}  // namespace

QString messageText(int stringId) {
    const std::string_view raw = text::stringText(stringId);
    QString text = QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
    text.truncate(kMaxText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

MessageResult messageBox(QWidget* owner, int stringId, unsigned type) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        return showOnWindowThread(owner, stringId, type);
    }
    // Widgets belong to the window thread: ask there and wait for the answer. The window
    // thread never waits on a worker for long (close protocol), so this cannot deadlock.
    QPointer<QWidget> guardedOwner(owner);
    MessageResult result = MessageResult::Ok;
    runAndWait(app, [&result, guardedOwner, stringId, type] {
        result = showOnWindowThread(guardedOwner.data(), stringId, type);
    });
    return result;
}

}  // namespace tevusb::ui
