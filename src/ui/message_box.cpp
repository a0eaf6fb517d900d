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

// Runs `ask` on the window thread, from there or from a worker, which waits for the answer.
// The window thread never waits on a worker for long (close protocol), so this cannot
// deadlock.
template <class Ask>
void onWindowThread(QWidget* owner, const Ask& ask) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        ask(owner);
        return;
    }
    // Widgets belong to the window thread: ask there.
    QPointer<QWidget> guardedOwner(owner);
    runAndWait(app, [&ask, guardedOwner] { ask(guardedOwner.data()); });
}

}  // namespace

QString programCaption() {
    return QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
}

QString messageText(int stringId) {
    const std::string_view raw = text::stringText(stringId);
    QString text = QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
    text.truncate(kMaxText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

MessageResult messageBox(QWidget* owner, int stringId, unsigned type) {
    return messageBox(owner, messageText(stringId), type);
}

MessageResult messageBox(QWidget* owner, const QString& text, unsigned type) {
    MessageResult result = MessageResult::Ok;
    onWindowThread(owner, [&](QWidget* o) {
        result = userPrompts().messageBox(o, text, programCaption(), type);
    });
    return result;
}

int chooseAnswer(QWidget* owner, const QString& text, const QStringList& buttons, int defaultIndex,
                 int cancelIndex) {
    int chosen = cancelIndex;
    onWindowThread(owner, [&](QWidget* o) {
        chosen =
            userPrompts().choose(o, text, programCaption(), buttons, defaultIndex, cancelIndex);
    });
    return chosen;
}

}  // namespace tevusb::ui
