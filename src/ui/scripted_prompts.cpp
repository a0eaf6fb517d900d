// SPDX-License-Identifier: MIT
#include "ui/scripted_prompts.h"

#include <QCoreApplication>
#include <QThread>

namespace tevusb::ui {

namespace {

bool onWindowThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace

void ScriptedPrompts::answer(MessageResult result) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(result);
}

void ScriptedPrompts::choose(const QString& path) {
    std::lock_guard lock(m_mutex);
    m_paths.push_back(path);
}

MessageResult ScriptedPrompts::messageBox(QWidget* owner, const QString& text,
                                          const QString& caption, unsigned type) {
    std::lock_guard lock(m_mutex);
    m_boxes.push_back({owner, text, caption, type, onWindowThread(), {}, -1, -1});
    if (m_answers.empty()) {
        return (type & 0x0F) == kMbYesNo ? MessageResult::No : MessageResult::Ok;
    }
    const MessageResult result = m_answers.front();
    m_answers.pop_front();
    return result;
}

void ScriptedPrompts::pick(int index) {
    std::lock_guard lock(m_mutex);
    m_picks.push_back(index);
}

int ScriptedPrompts::choose(QWidget* owner, const QString& text, const QString& caption,
                            const QStringList& buttons, int defaultIndex, int cancelIndex) {
    std::lock_guard lock(m_mutex);
    m_boxes.push_back(
        {owner, text, caption, 0, onWindowThread(), buttons, defaultIndex, cancelIndex});
    if (m_picks.empty()) {
        return cancelIndex;
    }
    const int index = m_picks.front();
    m_picks.pop_front();
    return index;
}

QString ScriptedPrompts::fileDialog(QWidget* owner, const FileDialogRequest& request) {
    std::lock_guard lock(m_mutex);
    m_files.push_back({owner, request});
    if (m_paths.empty()) {
        return {};
    }
    QString path = m_paths.front();
    m_paths.pop_front();
    return path;
}

std::vector<ScriptedPrompts::Box> ScriptedPrompts::boxes() const {
    std::lock_guard lock(m_mutex);
    return m_boxes;
}

std::vector<ScriptedPrompts::File> ScriptedPrompts::files() const {
    std::lock_guard lock(m_mutex);
    return m_files;
}

}  // namespace tevusb::ui
