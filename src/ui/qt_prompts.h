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

    // The boxes as they would be shown, for inspection without showing them.
    static std::unique_ptr<QMessageBox> buildMessageBox(QWidget* owner, const QString& text,
                                                        const QString& caption, unsigned type);
    static std::unique_ptr<QFileDialog> buildFileDialog(QWidget* owner,
                                                        const FileDialogRequest& request);
};

}  // namespace tevusb::ui
