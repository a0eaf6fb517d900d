// SPDX-License-Identifier: MIT
#include "ui/dialogs/preflight_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "device/device_lock.h"
#include "device/preflight_verdict.h"
#include "library/kept_flights.h"
#include "library/preflight_record.h"
#include "library/rocket_profiles.h"
#include "ui/dialogs/erase_guard.h"
#include "ui/dialogs/profile_apply_flow.h"
#include "ui/library_service.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"

namespace tevusb::ui {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// Dark enough for white text to read in sunlight; the words say the same.
const char* kGo = "#1e7b34";
const char* kNoGo = "#b3261e";
const char* kWarning = "#8a5a00";
const char* kNeutral = "#555555";

QString statusWord(data::CheckStatus status) {
    switch (status) {
        case data::CheckStatus::Ok:
            return QStringLiteral("OK");
        case data::CheckStatus::Warning:
            return QStringLiteral("WARNING");
        case data::CheckStatus::NoGo:
            return QStringLiteral("NO-GO");
    }
    return {};
}

QColor statusColour(data::CheckStatus status) {
    return QColor(QString::fromUtf8(status == data::CheckStatus::Ok        ? kGo
                                    : status == data::CheckStatus::Warning ? kWarning
                                                                           : kNoGo));
}

void paintBanner(QLabel& banner, const char* colour, const QString& text) {
    banner.setStyleSheet(QStringLiteral("QLabel { background: %1; color: white; font-size: 20pt; "
                                        "font-weight: bold; padding: 12px; }")
                             .arg(QString::fromUtf8(colour)));
    banner.setText(text);
}

}  // namespace

PreflightWindow::PreflightWindow(LibraryService& service, analysis::UnitSystem units,
                                 QWidget* parent)
    : QDialog(parent), m_service(service), m_units(units) {
    setObjectName(QStringLiteral("PreflightCheck"));
    setWindowTitle(QStringLiteral("Pre-flight Check"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Rocket profile"), this));
    m_profiles = new QComboBox(this);
    m_profiles->setObjectName(QStringLiteral("Profile"));
    m_profiles->setMinimumWidth(200);
    top->addWidget(m_profiles, 1);
    m_check = new QPushButton(QStringLiteral("Check"), this);
    m_check->setObjectName(QStringLiteral("Check"));
    m_check->setDefault(true);
    top->addWidget(m_check);
    layout->addLayout(top);

    m_banner = new QLabel(this);
    m_banner->setObjectName(QStringLiteral("Verdict"));
    m_banner->setWordWrap(true);
    m_banner->setMinimumHeight(70);
    paintBanner(*m_banner, kNeutral, QStringLiteral("Not checked yet"));
    layout->addWidget(m_banner);

    m_items = new QTableWidget(0, 3, this);
    m_items->setObjectName(QStringLiteral("Items"));
    m_items->setHorizontalHeaderLabels(
        {QStringLiteral("Item"), QStringLiteral("Status"), QStringLiteral("What it means")});
    m_items->verticalHeader()->hide();
    m_items->horizontalHeader()->setStretchLastSection(true);
    m_items->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_items->setSelectionMode(QAbstractItemView::NoSelection);
    m_items->setWordWrap(true);
    layout->addWidget(m_items, 1);

    auto* fixes = new QHBoxLayout;
    m_apply = new QPushButton(QStringLiteral("Apply Profile"), this);
    m_apply->setObjectName(QStringLiteral("ApplyProfile"));
    m_download = new QPushButton(QStringLiteral("Download Flights"), this);
    m_download->setObjectName(QStringLiteral("DownloadFlights"));
    m_clear = new QPushButton(QStringLiteral("Clear Memory"), this);
    m_clear->setObjectName(QStringLiteral("ClearMemory"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Close"));
    for (QPushButton* b : {m_apply, m_download, m_clear}) {
        fixes->addWidget(b);
        b->hide();
    }
    fixes->addStretch();
    fixes->addWidget(close);
    layout->addLayout(fixes);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    connect(m_check, &QPushButton::clicked, this, &PreflightWindow::check);
    connect(m_apply, &QPushButton::clicked, this, &PreflightWindow::applyProfile);
    connect(m_download, &QPushButton::clicked, this, [this] {
        if (m_openDownload) {
            m_openDownload();
            say(QStringLiteral("Press Check to see the altimeter as it is now."));
        }
    });
    connect(m_clear, &QPushButton::clicked, this, &PreflightWindow::clearMemory);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    resize(720, 480);
}

PreflightWindow::~PreflightWindow() {
    m_cancel = true;
}

void PreflightWindow::closeEvent(QCloseEvent* event) {
    if (m_worker.running()) {
        m_cancel = true;
        say(QStringLiteral("Waiting for the altimeter to finish before closing."));
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PreflightWindow::say(const QString& text) {
    m_status->setText(text);
}

void PreflightWindow::setBusy(bool busy) {
    for (QPushButton* b : {m_check, m_apply, m_download, m_clear}) {
        b->setEnabled(!busy);
    }
    m_profiles->setEnabled(!busy);
}

void PreflightWindow::start() {
    // In front, on the main window's screen and whole on it, as every new window.
    showInFront(this, parentWidget());
    if (m_worker.running()) {
        return;
    }
    setBusy(true);
    m_worker.run([this]() -> WorkerThread::JobEnd {
        m_service.acquire();
        return [this] {
            setBusy(false);
            fillProfiles();
        };
    });
}

void PreflightWindow::fillProfiles() {
    const QString current = m_profiles->currentText();
    m_profiles->clear();
    library::Outcome opened;
    const auto lib = m_service.acquire(&opened);
    if (!lib) {
        say(QStringLiteral("The flight library could not be opened, so no rocket profile can be "
                           "read: %1")
                .arg(q(opened.message)));
        m_check->setEnabled(false);
        return;
    }
    for (const auto& p : library::listProfiles(*lib)) {
        m_profiles->addItem(q(p.name));
    }
    if (const int at = m_profiles->findText(current); at >= 0) {
        m_profiles->setCurrentIndex(at);
    }
    m_check->setEnabled(m_profiles->count() > 0);
    if (m_profiles->count() == 0) {
        say(QStringLiteral("No rocket profiles yet: make one in Tools > Rocket Profiles..."));
    }
}

std::optional<settings::RocketProfile> PreflightWindow::chosenProfile() {
    const auto lib = m_service.acquire();
    if (!lib || m_profiles->currentIndex() < 0) {
        return std::nullopt;
    }
    return library::findProfile(*lib, m_profiles->currentText().toStdString());
}

void PreflightWindow::check() {
    const auto profile = chosenProfile();
    if (!profile) {
        say(QStringLiteral("Choose a rocket profile first."));
        return;
    }
    setBusy(true);
    m_cancel = false;
    paintBanner(*m_banner, kNeutral, QStringLiteral("Checking..."));
    m_items->setRowCount(0);
    say(QStringLiteral("Checking the altimeter against \"%1\"...").arg(q(profile->name)));
    m_worker.run([this, profile = *profile]() -> WorkerThread::JobEnd {
        library::Outcome opened;
        const auto lib = m_service.configured() ? m_service.acquire(&opened) : nullptr;
        bool readable = false;
        device::PreflightRequest request;
        request.profile = profile;
        request.keptFlights = [&](const std::vector<data::MemoryPacket>& packets) {
            const auto unkept = library::findUnkeptFlights(lib.get(), packets, opened);
            readable = unkept.library.ok();
            return device::KeptAnswer{static_cast<int>(unkept.setNumbers.size()),
                                      unkept.library.ok() ? "" : unkept.library.message};
        };
        const auto progress = [this](const device::Progress& step) {
            if (step.kind == device::Progress::Kind::Step) {
                m_worker.post([this, what = step.entry] { say(q(what) + QStringLiteral("...")); });
            }
        };
        device::Operation<device::PreflightCheck> result =
            device::runPreflight(device::theDevice(), request, progress, &m_cancel);
        std::string recorded;
        if (result.ok() && lib) {
            const auto kept = library::recordPreflight(
                *lib, result.value.report, result.value.altimeter, result.value.packets);
            if (!kept.ok()) {
                recorded = "The check was not recorded in the library: " + kept.message;
            }
        }
        return [this, result, readable, recorded] {
            setBusy(false);
            m_libraryReadable = readable;
            showResult(result);
            if (!recorded.empty()) {
                say(q(recorded));
            }
        };
    });
}

void PreflightWindow::showResult(const device::Operation<device::PreflightCheck>& result) {
    m_result = result;
    m_items->setRowCount(0);
    if (!result.ok()) {
        QString why;
        for (const auto& entry : result.entries) {
            why += q(entry);
        }
        paintBanner(*m_banner, kNoGo, QStringLiteral("NOT CHECKED \u2014 ") + why.trimmed());
        m_apply->hide();
        m_download->hide();
        m_clear->hide();
        say({});
        return;
    }
    const data::PreflightReport& report = result.value.report;
    const bool go = report.go();
    QString line = q(device::verdictLine(report));
    const int colon = line.indexOf(QLatin1Char(':'));
    line = (go ? QStringLiteral("GO") : QStringLiteral("NO-GO")) + QStringLiteral(" \u2014 ") +
           line.mid(colon + 2);
    paintBanner(*m_banner, go ? kGo : kNoGo, line);
    m_items->setRowCount(static_cast<int>(report.items.size()));
    for (int row = 0; row < static_cast<int>(report.items.size()); ++row) {
        const auto& item = report.items[static_cast<std::size_t>(row)];
        auto* status = new QTableWidgetItem(statusWord(item.status));
        status->setBackground(statusColour(item.status));
        status->setForeground(Qt::white);
        QFont bold = status->font();
        bold.setBold(true);
        status->setFont(bold);
        m_items->setItem(row, 0, new QTableWidgetItem(q(item.name)));
        m_items->setItem(row, 1, status);
        m_items->setItem(row, 2, new QTableWidgetItem(q(item.text)));
    }
    m_items->resizeColumnToContents(0);
    m_items->resizeColumnToContents(1);
    m_items->resizeRowsToContents();
    const auto noGo = [&](const char* name) {
        for (const auto& item : report.items) {
            if (item.name == name && item.status == data::CheckStatus::NoGo) {
                return true;
            }
        }
        return false;
    };
    m_apply->setVisible(noGo("settings"));
    m_download->setVisible(report.flightsNotInLibrary > 0);
    // Clearing is offered only when it cannot cost a flight.
    m_clear->setVisible(report.flightsOnDevice > 0 && report.flightsNotInLibrary == 0 &&
                        m_libraryReadable);
    say({});
}

void PreflightWindow::applyProfile() {
    const auto profile = chosenProfile();
    if (!profile) {
        return;
    }
    setBusy(true);
    m_cancel = false;
    ApplyView view;
    view.differences = [](const auto&) {};
    view.status = [this](const std::string& entry) { say(q(entry).trimmed()); };
    view.done = [this](const device::Operation<device::ProfileApplied>& result) {
        setBusy(false);
        QString text;
        for (const auto& entry : result.entries) {
            text += q(entry);
        }
        say(text.trimmed());
        if (result.ok()) {
            check();
        }
    };
    startProfileApply(this, m_worker, m_cancel, *profile, m_units, view);
}

void PreflightWindow::clearMemory() {
    if (messageBox(this,
                   QStringLiteral("Clear the altimeter's flight memory? Every flight on it is in "
                                  "the flight library."),
                   kMbYesNo | kMbIconQuestion) != MessageResult::Yes) {
        return;
    }
    setBusy(true);
    m_worker.run([this]() -> WorkerThread::JobEnd {
        auto& dev = device::theDevice();
        std::string said;
        const auto out = [&said](const std::string& entry) { said += entry; };
        bool cleared = false;
        if (dev.connect(device::ConnectMode::Application) == device::result::kConnected) {
            std::string why;
            const auto lock = device::DeviceLock::acquire(dev.link.device().path, 2000, why);
            if (!lock) {
                said = why;
            } else if (passEraseGuard(this, dev, m_service, "Clearing the memory", out)) {
                cleared = dev.clearMemory() == device::result::kSuccess;
                said += cleared ? "" : "Failed to clear data.\r\n";
            }
        } else {
            said = device::kAltimeterNotFound;
        }
        return [this, said, cleared] {
            setBusy(false);
            say(q(said).trimmed());
            if (cleared) {
                check();
            }
        };
    });
}

}  // namespace tevusb::ui
