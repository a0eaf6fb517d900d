// SPDX-License-Identifier: MIT
#include "ui/emulation_report_window.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/emulation_report_json.h"
#include "analysis/emulation_report_text.h"
#include "data/atomic_file.h"
#include "text/string_table.h"
#include "ui/user_prompts.h"

namespace tevusb::ui {

namespace {

QPointer<EmulationReportWindow>& instance() {
    static QPointer<EmulationReportWindow> window;
    return window;
}

QPushButton* button(QWidget* parent, const QString& label, const char* name) {
    auto* b = new QPushButton(label, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

EmulationReportWindow::EmulationReportWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_text(new QPlainTextEdit(this)) {
    setObjectName(QString::fromLatin1(kObjectName));
    setWindowTitle(tr("Launch Emulation Report"));
    m_text->setObjectName(QStringLiteral("reportText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* saveTextButton = button(this, tr("Save Text..."), "saveText");
    auto* saveJsonButton = button(this, tr("Save JSON..."), "saveJson");
    auto* closeButton = button(this, tr("Close"), "close");
    connect(saveTextButton, &QPushButton::clicked, this, [this] { saveText(); });
    connect(saveJsonButton, &QPushButton::clicked, this, [this] { saveJson(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveTextButton);
    buttons->addWidget(saveJsonButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    resize(760, 560);
}

EmulationReportWindow* EmulationReportWindow::present(const analysis::EmulationReport& report,
                                                      analysis::UnitSystem units, QWidget* parent) {
    auto& window = instance();
    if (!window) {
        window = new EmulationReportWindow(parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->setReport(report, units);
    window->show();
    window->raise();
    return window;
}

EmulationReportWindow* EmulationReportWindow::current() {
    return instance();
}

void EmulationReportWindow::setReport(const analysis::EmulationReport& report,
                                      analysis::UnitSystem units) {
    m_report = report;
    m_units = units;
    m_text->setPlainText(QString::fromStdString(analysis::formatEmulationReport(report, units)));
}

QString EmulationReportWindow::text() const {
    return m_text->toPlainText();
}

bool EmulationReportWindow::saveText() {
    return save(tr("Save Emulation Report"), tr("Text"), QStringLiteral("txt"),
                analysis::formatEmulationReport(m_report, m_units));
}

bool EmulationReportWindow::saveJson() {
    return save(tr("Save Emulation Report as JSON"), tr("JSON"), QStringLiteral("json"),
                analysis::emulationReportJson(m_report) + "\n");
}

bool EmulationReportWindow::save(const QString& title, const QString& filterName,
                                 const QString& suffix, const std::string& contents) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = title;
    request.filterName = filterName;
    request.pattern = QStringLiteral("*.") + suffix;
    request.defaultSuffix = suffix;
    request.overwritePrompt = true;
    const QString path = userPrompts().fileDialog(this, request);
    if (path.isEmpty()) {
        return false;
    }
    data::AtomicFile file(std::filesystem::path(QFile::encodeName(path).toStdString()));
    if (file.isOpen()) {
        file.write(contents);
    }
    if (!file.isOpen() || !file.commit()) {
        const QString caption =
            QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
        userPrompts().messageBox(this, tr("The report could not be written to\n%1").arg(path),
                                 caption, kMbOk | kMbIconExclamation);
        return false;
    }
    return true;
}

}  // namespace tevusb::ui
