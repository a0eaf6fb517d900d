// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <filesystem>

#include "device/altimeter_device.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/message_box.h"
#include "ui/native_path.h"

// Comments and saving in the Download Data dialog; all on the window thread, with no
// worker running (the buttons are disabled while one does).

namespace tevusb::ui {

using namespace capture_ids;

namespace {

QString messageCaption() {
    return QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
}

QString replaceQuestion(const QString& name) {
    return QStringLiteral("%1 already exists.\nDo you want to replace it?")
        .arg(QFileInfo(name).fileName());
}

}  // namespace

QString CCaptureWindow::csvNameFor(const QString& setFileName) {
    // Only the file's own name counts: a dot in a folder name must not send the CSV
    // into another folder.
    const qsizetype slash = setFileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = setFileName.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > slash + 1;
    if (!hasExtension ||
        setFileName.mid(dot + 1).compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0) {
        // A set file that is itself named .csv keeps it: the CSV must never replace it.
        return setFileName + QStringLiteral(".csv");
    }
    return setFileName.left(dot) + QStringLiteral(".csv");
}

QString CCaptureWindow::withSetSuffix(const QString& name) {
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > slash + 1 && dot + 1 < name.size()) {
        return name;
    }
    return name + QStringLiteral(".tev");
}

void CCaptureWindow::saveComment() {
    if (m_worker.running()) {
        return;
    }
    const auto* edit = qobject_cast<QPlainTextEdit*>(item(kComment));
    if (edit == nullptr) {
        return;
    }
    const QString text = edit->toPlainText().left(kMaxComment);
    device().store.setComment(m_selectedSet, text.toStdString());
}

CCaptureWindow::SaveOutcome CCaptureWindow::saveSet(int k) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save data set %1").arg(k + 1);
    request.filterName = QStringLiteral("TEV USB Data");
    request.pattern = QStringLiteral("*.tev");
    request.defaultSuffix = QStringLiteral("tev");
    request.overwritePrompt = true;
    const QString chosen = userPrompts().fileDialog(window(), request);
    if (chosen.isEmpty()) {
        return SaveOutcome::Cancelled;
    }
    // The file dialog asked about the name it returned; a suffix added here makes a name
    // it has not asked about.
    const QString name = withSetSuffix(chosen);
    if (name != chosen && QFileInfo::exists(name) &&
        userPrompts().messageBox(window(), replaceQuestion(name), messageCaption(),
                                 kMbYesNo | kMbIconExclamation) != MessageResult::Yes) {
        return SaveOutcome::Cancelled;
    }
    data::DataSetStore& store = device().store;
    if (!store.saveSetFile(toPath(name), k)) {
        showError(text::string_ids::kSaveFailed);
        return SaveOutcome::Failed;
    }
    const auto* csv = qobject_cast<QCheckBox*>(item(kGenerateCsv));
    if (csv != nullptr && csv->isChecked()) {
        if (!store.exportCsv(toPath(csvNameFor(name)), k)) {
            showError(text::string_ids::kCsvSaveFailed);
            return SaveOutcome::Failed;
        }
    }
    return SaveOutcome::Saved;
}

void CCaptureWindow::saveSelected() {
    if (m_worker.running()) {
        return;
    }
    const int k = m_selectedSet;
    if (k < 0 || k >= device().store.setCount()) {
        return;
    }
    if (saveSet(k) == SaveOutcome::Saved) {
        messageBox(window(), text::string_ids::kDataSetsSaved, kMbOk | kMbIconInformation);
    }
}

void CCaptureWindow::saveAll() {
    if (m_worker.running()) {
        return;
    }
    const int count = device().store.setCount();
    for (int k = 0; k < count; ++k) {
        if (saveSet(k) != SaveOutcome::Saved) {
            return;
        }
    }
    messageBox(window(), text::string_ids::kDataSetsSaved, kMbOk | kMbIconInformation);
}

}  // namespace tevusb::ui
