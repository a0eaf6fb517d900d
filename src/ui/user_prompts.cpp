// SPDX-License-Identifier: MIT
#include "ui/user_prompts.h"

#include <atomic>

#include "ui/qt_prompts.h"

namespace tevusb::ui {

namespace {

std::atomic<UserPrompts*> g_installed{nullptr};

UserPrompts& qtPrompts() {
    static QtPrompts prompts;
    return prompts;
}

}  // namespace

QStringList UserPrompts::openFiles(QWidget* owner, const FileDialogRequest& request) {
    const QString path = fileDialog(owner, request);
    return path.isEmpty() ? QStringList{} : QStringList{path};
}

UserPrompts& userPrompts() {
    UserPrompts* installed = g_installed.load();
    return installed != nullptr ? *installed : qtPrompts();
}

UserPrompts* setUserPrompts(UserPrompts* prompts) {
    return g_installed.exchange(prompts);
}

}  // namespace tevusb::ui
