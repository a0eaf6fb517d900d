// SPDX-License-Identifier: MIT
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <memory>

#include "ui/user_prompts.h"

namespace tevusb::ui {

// The real questions: QMessageBox and the non-native QFileDialog.
class QtPrompts : public UserPrompts {
  public:
    MessageResult messageBox(QWidget* owner, const QString& text, const QString& caption,
                             unsigned type) override;
    QString fileDialog(QWidget* owner, const FileDialogRequest& request) override;
    QStringList openFiles(QWidget* owner, const FileDialogRequest& request) override;
    int choose(QWidget* owner, const QString& text, const QString& caption,
               const QStringList& buttons, int defaultIndex, int cancelIndex) override;

    // The boxes as they would be shown, for inspection without showing them.
    static std::unique_ptr<QMessageBox> buildMessageBox(QWidget* owner, const QString& text,
                                                        const QString& caption, unsigned type);
    // The buttons of a choice are in `buttons`' order in the box's buttons().
    static std::unique_ptr<QMessageBox> buildChoiceBox(QWidget* owner, const QString& text,
                                                       const QString& caption,
                                                       const QStringList& buttons, int defaultIndex,
                                                       int cancelIndex);
    static std::unique_ptr<QFileDialog> buildFileDialog(QWidget* owner,
                                                        const FileDialogRequest& request);
};

}  // namespace tevusb::ui
