// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>
#include <deque>
#include <mutex>
#include <vector>

#include "ui/user_prompts.h"

namespace tevusb::ui {

// A stand-in for the user in tests: answers questions and file dialogs from a script and
// records what was asked. Install it with setUserPrompts.
class ScriptedPrompts : public UserPrompts {
  public:
    struct Box {
        QPointer<QWidget> owner;
        QString text;
        QString caption;
        unsigned type = 0;
        bool onWindowThread = false;
        QStringList buttons;  // a choice's buttons; empty for a message box
        int defaultIndex = -1;
        int cancelIndex = -1;
    };
    struct File {
        QPointer<QWidget> owner;
        FileDialogRequest request;
    };

    // Answers in order; when none is left, Ok (or No for a Yes/No box).
    void answer(MessageResult result);
    // Paths in order; an empty path (or none left) is a cancel.
    void choose(const QString& path);
    // Button indexes for choices, in order; when none is left, the choice's cancel index.
    void pick(int index);

    MessageResult messageBox(QWidget* owner, const QString& text, const QString& caption,
                             unsigned type) override;
    QString fileDialog(QWidget* owner, const FileDialogRequest& request) override;
    int choose(QWidget* owner, const QString& text, const QString& caption,
               const QStringList& buttons, int defaultIndex, int cancelIndex) override;

    std::vector<Box> boxes() const;
    std::vector<File> files() const;

  private:
    mutable std::mutex m_mutex;
    std::deque<MessageResult> m_answers;
    std::deque<QString> m_paths;
    std::deque<int> m_picks;
    std::vector<Box> m_boxes;
    std::vector<File> m_files;
};

}  // namespace tevusb::ui
