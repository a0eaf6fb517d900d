// SPDX-License-Identifier: MIT
#include "ui/qt_prompts.h"

#include <QPushButton>

namespace tevusb::ui {

namespace {

QMessageBox::Icon iconFor(unsigned type) {
    switch (type & 0xF0) {
        case kMbIconHand:
            return QMessageBox::Critical;
        case kMbIconQuestion:
            return QMessageBox::Question;
        case kMbIconExclamation:
            return QMessageBox::Warning;
        case kMbIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

std::unique_ptr<QMessageBox> QtPrompts::buildMessageBox(QWidget* owner, const QString& text,
                                                        const QString& caption, unsigned type) {
    auto box = std::make_unique<QMessageBox>(owner);
    box->setWindowTitle(caption);
    box->setText(text);
    box->setIcon(iconFor(type));
    if ((type & 0x0F) == kMbYesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    return box;
}

MessageResult QtPrompts::messageBox(QWidget* owner, const QString& text, const QString& caption,
                                    unsigned type) {
    auto box = buildMessageBox(owner, text, caption, type);
    switch (box->exec()) {
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        case QMessageBox::Ok:
            return MessageResult::Ok;
        default:
            // Closing a Yes/No box by its frame is no consent.
            return (type & 0x0F) == kMbYesNo ? MessageResult::No : MessageResult::Ok;
    }
}

std::unique_ptr<QMessageBox> QtPrompts::buildChoiceBox(QWidget* owner, const QString& text,
                                                       const QString& caption,
                                                       const QStringList& buttons, int defaultIndex,
                                                       int cancelIndex) {
    auto box = std::make_unique<QMessageBox>(owner);
    box->setWindowTitle(caption);
    box->setText(text);
    box->setIcon(QMessageBox::Warning);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        // One role for all keeps them in the order given on every platform.
        QPushButton* button = box->addButton(buttons[i], QMessageBox::ActionRole);
        if (i == defaultIndex) {
            box->setDefaultButton(button);
        }
        if (i == cancelIndex) {
            box->setEscapeButton(button);
        }
    }
    return box;
}

int QtPrompts::choose(QWidget* owner, const QString& text, const QString& caption,
                      const QStringList& buttons, int defaultIndex, int cancelIndex) {
    auto box = buildChoiceBox(owner, text, caption, buttons, defaultIndex, cancelIndex);
    box->exec();
    const qsizetype chosen = box->buttons().indexOf(box->clickedButton());
    return chosen >= 0 && chosen < buttons.size() ? static_cast<int>(chosen) : cancelIndex;
}

std::unique_ptr<QFileDialog> QtPrompts::buildFileDialog(QWidget* owner,
                                                        const FileDialogRequest& request) {
    auto dialog = std::make_unique<QFileDialog>(owner, request.title);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.pattern.isEmpty()) {
        dialog->setNameFilter(QStringLiteral("%1 (%2)").arg(request.filterName, request.pattern));
    }
    dialog->setDefaultSuffix(request.defaultSuffix);
    if (request.mode == FileDialogRequest::Mode::Folder) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly, true);
    } else if (request.mode == FileDialogRequest::Mode::Open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    }
    return dialog;
}

QString QtPrompts::fileDialog(QWidget* owner, const FileDialogRequest& request) {
    auto dialog = buildFileDialog(owner, request);
    if (dialog->exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList files = dialog->selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

QStringList QtPrompts::openFiles(QWidget* owner, const FileDialogRequest& request) {
    auto dialog = buildFileDialog(owner, request);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    if (dialog->exec() != QDialog::Accepted) {
        return {};
    }
    return dialog->selectedFiles();
}

}  // namespace tevusb::ui
