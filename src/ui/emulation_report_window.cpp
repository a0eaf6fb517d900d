// SPDX-License-Identifier: MIT
#include "ui/emulation_report_window.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "analysis/emulation_report_json.h"
#include "analysis/emulation_report_text.h"
#include "data/atomic_file.h"
#include "text/string_table.h"
#include "ui/native_path.h"
#include "ui/user_prompts.h"
#include "ui/window_placement.h"

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

// Green, amber and red, dark enough to read on the window's background.
QString verdictColour(analysis::Verdict verdict) {
    switch (verdict) {
        case analysis::Verdict::Pass:
            return QStringLiteral("#1a7f37");
        case analysis::Verdict::Check:
            return QStringLiteral("#9a6700");
        case analysis::Verdict::Fail:
            return QStringLiteral("#cf222e");
    }
    return {};
}

QString verdictRow(const analysis::LineReport& line, analysis::UnitSystem units) {
    const QString headline = QString::fromStdString(analysis::lineHeadline(line, units));
    const QString word = QString::fromStdString(analysis::verdictWord(analysis::verdictOf(line)));
    return QStringLiteral("<b style=\"color:%1\">%2</b>%3")
        .arg(verdictColour(analysis::verdictOf(line)), word,
             headline.mid(word.size()).toHtmlEscaped());
}

// The report set in the fixed font on A4 pages, as the bytes of a PDF file.
std::string pdfOf(const QString& title, const QString& text) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("tevusb"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QTextDocument document;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(8.5);
    document.setDefaultFont(font);
    document.setPlainText(text);
    document.print(&writer);
    buffer.close();
    return bytes.toStdString();
}

}  // namespace

EmulationReportWindow::EmulationReportWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_verdicts(new QLabel(this)), m_text(new QPlainTextEdit(this)) {
    setObjectName(QString::fromLatin1(kObjectName));
    setWindowTitle(tr("Launch Emulation Report"));
    m_verdicts->setObjectName(QStringLiteral("verdicts"));
    m_verdicts->setTextFormat(Qt::RichText);
    m_verdicts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_verdicts->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setObjectName(QStringLiteral("reportText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* saveTextButton = button(this, tr("Save Text..."), "saveText");
    auto* saveJsonButton = button(this, tr("Save JSON..."), "saveJson");
    auto* savePdfButton = button(this, tr("Save PDF..."), "savePdf");
    auto* closeButton = button(this, tr("Close"), "close");
    connect(savePdfButton, &QPushButton::clicked, this, [this] { savePdf(); });
    connect(saveTextButton, &QPushButton::clicked, this, [this] { saveText(); });
    connect(saveJsonButton, &QPushButton::clicked, this, [this] { saveJson(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveTextButton);
    buttons->addWidget(saveJsonButton);
    buttons->addWidget(savePdfButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_verdicts);
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
    showInFront(window, parent);
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
    m_verdicts->setText(verdictRow(report.lineA, units) + QStringLiteral("<br>") +
                        verdictRow(report.lineB, units));
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

bool EmulationReportWindow::savePdf() {
    return save(tr("Save Emulation Report as PDF"), tr("PDF"), QStringLiteral("pdf"),
                pdfOf(windowTitle(), m_text->toPlainText()));
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
    data::AtomicFile file(toPath(path));
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
