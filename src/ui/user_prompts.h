// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class QWidget;

namespace tevusb::ui {

// Message-box types and results, with the platform's numbers so that callers combine
// them as the dialogs describe (e.g. kMbYesNo | kMbIconExclamation).
inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbYesNo = 0x04;
inline constexpr unsigned kMbIconHand = 0x10;  // error
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;  // warning
inline constexpr unsigned kMbIconInformation = 0x40;

enum class MessageResult : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// A file dialog as the program asks for it.
struct FileDialogRequest {
    enum class Mode { Open, Save, Folder };  // Folder: an existing folder is chosen
    Mode mode = Mode::Open;
    QString title;
    QString filterName;            // "TEV USB Data"
    QString pattern;               // "*.tev"
    QString defaultSuffix;         // appended to a name typed without one; empty for none
    bool mustExist = false;        // open: the file must exist
    bool overwritePrompt = false;  // save: ask before replacing a file

    // Opening one or more existing data-set files (*.tev) under `title`.
    static FileDialogRequest openDataSets(const QString& title) {
        FileDialogRequest r;
        r.mode = Mode::Open;
        r.title = title;
        r.filterName = QStringLiteral("TEV USB Data");
        r.pattern = QStringLiteral("*.tev");
        r.mustExist = true;
        return r;
    }
};

// Every modal question and file dialog of the program goes through one object, so that
// tests can answer them. Called on the window thread only; see messageBox() for workers.
// A Yes/No question defaults to No, and Escape answers No: Enter never starts what cannot
// be undone.
class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    virtual MessageResult messageBox(QWidget* owner, const QString& text, const QString& caption,
                                     unsigned type) = 0;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString fileDialog(QWidget* owner, const FileDialogRequest& request) = 0;
    // Several existing files picked at once (an Open request); empty when cancelled. By
    // default the one-file dialog above.
    virtual QStringList openFiles(QWidget* owner, const FileDialogRequest& request);
    // A question answered by one of `buttons` (the program's own words, left to right);
    // the index of the one chosen. Enter gives `defaultIndex`; Escape or closing the box
    // gives `cancelIndex`.
    virtual int choose(QWidget* owner, const QString& text, const QString& caption,
                       const QStringList& buttons, int defaultIndex, int cancelIndex) = 0;
};

// The service in use: the Qt dialogs unless a test installed another one.
UserPrompts& userPrompts();
// Installs `prompts` (not owned; nullptr restores the Qt dialogs); returns the previous one.
UserPrompts* setUserPrompts(UserPrompts* prompts);

}  // namespace tevusb::ui
