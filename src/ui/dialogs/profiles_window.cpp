// SPDX-License-Identifier: MIT
#include "ui/dialogs/profiles_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "library/rocket_profiles.h"
#include "ui/dialogs/profile_apply_flow.h"
#include "ui/dialogs/profile_form.h"
#include "ui/library_service.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"

namespace tevusb::ui {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// A name not yet taken: "Nova copy", "Nova copy 2", ...
QString freeName(const QListWidget& list, const QString& base) {
    QString name = base;
    for (int k = 2; !list.findItems(name, Qt::MatchFixedString).isEmpty(); ++k) {
        name = base + QLatin1Char(' ') + QString::number(k);
    }
    return name;
}

}  // namespace

ProfilesWindow::ProfilesWindow(LibraryService& service, analysis::UnitSystem units, QWidget* parent)
    : QDialog(parent), m_service(service), m_units(units) {
    setObjectName(QStringLiteral("RocketProfiles"));
    setWindowTitle(QStringLiteral("Rocket Profiles"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    layout->addLayout(top, 1);

    auto* left = new QVBoxLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ProfileList"));
    m_list->setMinimumWidth(160);
    left->addWidget(m_list, 1);
    const auto button = [this](const char* text, const char* id, auto slot) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromUtf8(id));
        connect(b, &QPushButton::clicked, this, slot);
        m_buttons.push_back(b);
        return b;
    };
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(button("New", "New", &ProfilesWindow::newProfile));
    listButtons->addWidget(button("Duplicate", "Duplicate", &ProfilesWindow::duplicateProfile));
    left->addLayout(listButtons);
    auto* listButtons2 = new QHBoxLayout;
    listButtons2->addWidget(button("Rename", "Rename", &ProfilesWindow::renameProfile));
    listButtons2->addWidget(button("Delete", "Delete", &ProfilesWindow::deleteProfile));
    left->addLayout(listButtons2);
    left->addWidget(button("Flights of This Rocket", "RocketFlights", [this] {
        // The library window cannot be used under this one, so this one goes.
        if (m_openFlights && m_list->currentItem() != nullptr) {
            const QString name = m_list->currentItem()->text();
            close();
            m_openFlights(name);
        }
    }));
    top->addLayout(left);

    auto* right = new QVBoxLayout;
    m_form = new ProfileForm(this);
    m_form->setUnits(units);
    right->addWidget(m_form);
    auto* formButtons = new QHBoxLayout;
    formButtons->addWidget(button("Save", "Save", [this] { saveProfile(); }));
    formButtons->addWidget(
        button("New from Altimeter", "NewFromAltimeter", &ProfilesWindow::newFromAltimeter));
    formButtons->addWidget(
        button("Apply to Altimeter", "ApplyToAltimeter", &ProfilesWindow::applyToAltimeter));
    right->addLayout(formButtons);
    auto* differencesLabel = new QLabel(QStringLiteral("Altimeter \u2192 profile"), this);
    right->addWidget(differencesLabel);
    m_differences = new QListWidget(this);
    m_differences->setObjectName(QStringLiteral("Differences"));
    m_differences->setMinimumHeight(70);
    right->addWidget(m_differences);
    top->addLayout(right, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setMinimumHeight(fontMetrics().lineSpacing() * 3);
    layout->addWidget(m_status);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Close"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close);
    layout->addLayout(bottom);

    connect(m_list, &QListWidget::currentRowChanged, this, &ProfilesWindow::selectProfile);
    resize(640, 460);
}

void ProfilesWindow::setUnits(analysis::UnitSystem units) {
    m_units = units;
    m_form->setUnits(units);
}

ProfilesWindow::~ProfilesWindow() {
    m_cancel = true;
}

void ProfilesWindow::closeEvent(QCloseEvent* event) {
    // The write must not be cut off half way: the window stays until it has ended.
    if (m_worker.running()) {
        say(QStringLiteral("Waiting for the altimeter to finish before closing."));
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ProfilesWindow::say(const QString& text) {
    m_status->setText(text);
}

void ProfilesWindow::setBusy(bool busy) {
    for (QPushButton* b : m_buttons) {
        b->setEnabled(!busy);
    }
    m_list->setEnabled(!busy);
}

void ProfilesWindow::start() {
    // In front, on the main window's screen and whole on it, as every new window.
    showInFront(this, parentWidget());
    if (m_worker.running()) {
        return;
    }
    setBusy(true);
    say(QStringLiteral("Opening the flight library..."));
    m_worker.run([this]() -> WorkerThread::JobEnd {
        m_service.acquire();
        return [this] {
            setBusy(false);
            say({});
            reload();
        };
    });
}

void ProfilesWindow::reload(const QString& select) {
    library::Outcome opened;
    const auto lib = m_service.acquire(&opened);
    m_list->blockSignals(true);
    m_list->clear();
    if (!lib) {
        say(QStringLiteral("The flight library could not be opened: %1").arg(q(opened.message)));
        m_list->blockSignals(false);
        return;
    }
    library::Outcome listed;
    for (const auto& p : library::listProfiles(*lib, &listed)) {
        m_list->addItem(q(p.name));
    }
    m_list->blockSignals(false);
    if (!listed.ok()) {
        say(q(listed.message));
    }
    const auto found = m_list->findItems(select, Qt::MatchFixedString);
    m_list->setCurrentRow(found.isEmpty() ? (m_list->count() > 0 ? 0 : -1)
                                          : m_list->row(found.front()));
    if (m_list->count() == 0) {
        say(
            QStringLiteral("No rocket profiles yet: fill in the fields and press Save, or "
                           "press New from Altimeter."));
    }
}

void ProfilesWindow::selectProfile() {
    m_differences->clear();
    const auto* item = m_list->currentItem();
    const auto lib = m_service.acquire();
    if (item == nullptr || !lib) {
        return;
    }
    if (const auto p = library::findProfile(*lib, item->text().toStdString())) {
        m_form->show(*p);
    }
}

void ProfilesWindow::newProfile() {
    settings::RocketProfile fresh;
    fresh.name = freeName(*m_list, QStringLiteral("New rocket")).toStdString();
    m_list->clearSelection();
    m_list->setCurrentRow(-1);
    m_form->show(fresh);
    say(QStringLiteral("Type the rocket's name and what it needs, then press Save."));
}

bool ProfilesWindow::saveProfile() {
    std::string problem;
    const auto p = m_form->profile(problem);
    if (!p) {
        say(q(problem));
        messageBox(this, q(problem), kMbOk | kMbIconExclamation);
        return false;
    }
    const auto lib = m_service.acquire();
    const library::Outcome saved = lib ? library::saveProfile(*lib, *p)
                                       : library::Outcome{library::LibraryStatus::NotOpen,
                                                          "The flight library is not open.", 0};
    if (!saved.ok()) {
        say(q(saved.message));
        return false;
    }
    reload(q(p->name));
    say(QStringLiteral("Saved the rocket profile \"%1\".").arg(q(p->name)));
    return true;
}

void ProfilesWindow::duplicateProfile() {
    std::string problem;
    auto p = m_form->profile(problem);
    if (!p) {
        say(q(problem));
        return;
    }
    p->name = freeName(*m_list, q(p->name) + QStringLiteral(" copy")).toStdString();
    m_form->show(*p);
    saveProfile();
}

void ProfilesWindow::renameProfile() {
    const auto* item = m_list->currentItem();
    const auto lib = m_service.acquire();
    if (item == nullptr || !lib) {
        return;
    }
    const QString to = m_form->name();
    const library::Outcome renamed =
        library::renameProfile(*lib, item->text().toStdString(), to.toStdString());
    if (!renamed.ok()) {
        say(q(renamed.message));
        return;
    }
    reload(to);
    say(QStringLiteral("Renamed to \"%1\".").arg(to));
}

void ProfilesWindow::deleteProfile() {
    const auto* item = m_list->currentItem();
    const auto lib = m_service.acquire();
    if (item == nullptr || !lib) {
        return;
    }
    const QString name = item->text();
    if (messageBox(this, QStringLiteral("Delete the rocket profile \"%1\"?").arg(name),
                   kMbYesNo | kMbIconQuestion) != MessageResult::Yes) {
        return;
    }
    const library::Outcome removed = library::deleteProfile(*lib, name.toStdString());
    say(removed.ok() ? QStringLiteral("Deleted \"%1\".").arg(name) : q(removed.message));
    reload();
}

void ProfilesWindow::newFromAltimeter() {
    std::string problem;
    settings::RocketProfile base = m_form->profile(problem).value_or(settings::RocketProfile{});
    base.name = freeName(*m_list, QStringLiteral("From altimeter")).toStdString();
    setBusy(true);
    say(QStringLiteral("Reading the altimeter's settings..."));
    m_worker.run([this, base]() -> WorkerThread::JobEnd {
        auto& dev = device::theDevice();
        const auto entries = device::connectApplication(dev).entries;
        settings::DeviceSettings read;
        bool valid = false;
        const bool ok = dev.link.isOpen() && device::readSettingsAside(dev, read, valid) && valid;
        const std::string why = !dev.link.isOpen() ? "Altimeter not found. Make sure it is "
                                                     "properly connected to the PC."
                                : !ok              ? "Failed to read settings."
                                                   : "";
        return [this, base, read, ok, why] {
            setBusy(false);
            if (!ok) {
                say(q(why));
                return;
            }
            settings::RocketProfile p = settings::profileFromSettings(base.name, read);
            p.minBatteryV = base.minBatteryV;
            m_form->show(p);
            saveProfile();
        };
    });
}

void ProfilesWindow::applyToAltimeter() {
    if (!saveProfile()) {
        return;
    }
    std::string problem;
    const auto p = m_form->profile(problem);
    if (!p) {
        return;
    }
    setBusy(true);
    m_differences->clear();
    say(QStringLiteral("Reading the altimeter's settings..."));
    m_cancel = false;
    ApplyView view;
    view.differences = [this](const auto& differences) { showDifferences(differences); };
    view.status = [this](const std::string& entry) { say(q(entry).trimmed()); };
    view.done = [this](const device::Operation<device::ProfileApplied>& result) {
        applied(result);
    };
    startProfileApply(this, m_worker, m_cancel, *p, m_units, view);
}

void ProfilesWindow::showDifferences(const std::vector<analysis::SettingDifference>& differences) {
    m_differences->clear();
    for (const auto& d : differences) {
        auto* item = new QListWidgetItem(q(analysis::differenceText(d)), m_differences);
        QFont font = item->font();
        font.setBold(d.changed);
        item->setFont(font);
    }
}

void ProfilesWindow::applied(const device::Operation<device::ProfileApplied>& result) {
    setBusy(false);
    if (!result.value.differences.empty()) {
        showDifferences(result.value.differences);
    }
    // The write's own lines went by as it ran; what stays is how it ended.
    QString text;
    const std::size_t n = result.entries.size();
    for (std::size_t i = n > 2 ? n - 2 : 0; i < n; ++i) {
        text += q(result.entries[i]);
    }
    say(text.trimmed());
}

}  // namespace tevusb::ui
