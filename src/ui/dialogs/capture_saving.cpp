#include <QCheckBox>
#include <QPlainTextEdit>
#include <filesystem>

#include "device/altimeter_device.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/message_box.h"

// Comments and saving in the Download Data dialog; all on the window thread, with no
// worker running (the buttons are disabled while one does).

namespace tevusb::ui {

using namespace capture_ids;

namespace {

std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(name.toStdU16String());
}

}  // namespace

QString CCaptureWindow::csvNameFor(const QString& setFileName) {
    QString csv = setFileName;
    const qsizetype at = csv.indexOf(QStringLiteral(".tev"), 0, Qt::CaseSensitive);
    if (at < 0) {
        return csv + QStringLiteral(".csv");
    }
    return csv.replace(at, 4, QStringLiteral(".csv"));
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
    request.defaultSuffix = QStringLiteral("dat");
    request.overwritePrompt = true;
    const QString name = userPrompts().fileDialog(window(), request);
    if (name.isEmpty()) {
        return SaveOutcome::Cancelled;
    }
    data::DataSetStore& store = device().store;
    if (!store.saveSetFile(toPath(name), k)) {
        showError(104);
        return SaveOutcome::Failed;
    }
    const auto* csv = qobject_cast<QCheckBox*>(item(kGenerateCsv));
    if (csv != nullptr && csv->isChecked()) {
        if (!store.exportCsv(toPath(csvNameFor(name)), k)) {
            showError(106);
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
        messageBox(window(), 103, kMbOk | kMbIconInformation);
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
    messageBox(window(), 103, kMbOk | kMbIconInformation);
}

}  // namespace tevusb::ui
