// SPDX-License-Identifier: MIT
#include "ui/library/library_flight_picker.h"
#include "library/flight_name.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

#include "ui/library/flight_filter_proxy.h"
#include "ui/library/flight_table_view.h"
#include "ui/library/library_units.h"
#include "ui/library_service.h"
#include "ui/user_prompts.h"
#include "ui/window_placement.h"

namespace tevusb::ui {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

LibraryFlightPicker::LibraryFlightPicker(LibraryService& service, Chosen chosen, QWidget* parent)
    : QDialog(parent),
      m_service(service),
      m_chosen(std::move(chosen)),
      m_model(new FlightTableModel(this)),
      m_proxy(new FlightFilterProxy(m_model, this)),
      m_filter(new QLineEdit(this)),
      m_table(new QTableView(this)),
      m_status(new QLabel(this)) {
    setObjectName(QStringLiteral("libraryFlightPicker"));
    setWindowTitle(QStringLiteral("Add Flights from the Library"));
    m_filter->setObjectName(QStringLiteral("pickerFilter"));
    m_filter->setPlaceholderText(
        QStringLiteral("Search rocket, motor, site, notes, comment or date"));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, m_proxy, &FlightFilterProxy::setSearch);

    m_table->setObjectName(QStringLiteral("pickerTable"));
    setUpFlightTable(*m_table, m_proxy);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_table, &QTableView::doubleClicked, this, [this] { addSelected(); });
    m_status->setObjectName(QStringLiteral("pickerStatus"));
    m_status->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_add = buttons->addButton(QStringLiteral("Add"), QDialogButtonBox::AcceptRole);
    m_add->setObjectName(QStringLiteral("pickerAdd"));
    connect(m_add, &QPushButton::clicked, this, [this] { addSelected(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateButtons(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    resize(900, 460);
    updateButtons();
}

LibraryFlightPicker::~LibraryFlightPicker() {
    // The worker posts to this dialog; it stops after the file it is reading.
    while (!m_worker.cancelAndWait(100)) {
    }
}

QString LibraryFlightPicker::flightName(const library::FlightRecord& record) {
    return q(library::flightName(record));
}

QString LibraryFlightPicker::statusText() const {
    return m_status->text();
}

void LibraryFlightPicker::start() {
    m_model->setUnits(preferredUnits());
    showInFront(this, parentWidget());
    startJob([this] {
        library::Outcome outcome;
        std::shared_ptr<library::FlightLibrary> lib = m_service.acquire(&outcome);
        std::vector<library::FlightRecord> records;
        if (lib) {
            records = lib->list({}, &outcome);
        }
        if (!lib || !outcome.ok()) {
            post([this, outcome] { showOpenFailure(outcome); });
            return WorkerThread::JobEnd{};
        }
        auto rows = std::make_shared<std::vector<FlightTableModel::Row>>(
            FlightTableModel::prepareRows(std::move(records)));
        post([this, lib, rows] { showRows(lib, std::move(*rows)); });
        return WorkerThread::JobEnd{};
    });
    m_status->setText(QStringLiteral("Loading the flight library..."));
}

void LibraryFlightPicker::showRows(std::shared_ptr<library::FlightLibrary> lib,
                                   std::vector<FlightTableModel::Row> rows) {
    m_library = std::move(lib);
    const std::size_t n = rows.size();
    m_model->setRows(std::move(rows));
    m_status->setText(
        n == 0 ? QStringLiteral("The flight library has no flights yet.")
               : QStringLiteral("%1 %2; pick those to compare.")
                     .arg(n)
                     .arg(n == 1 ? QStringLiteral("flight") : QStringLiteral("flights")));
    updateButtons();
    emit loaded();
}

void LibraryFlightPicker::showOpenFailure(const library::Outcome& outcome) {
    emit loaded();
    userPrompts().messageBox(this,
                             QStringLiteral("The flight library in %1 cannot be opened:\n%2")
                                 .arg(q(m_service.folder().string()), q(outcome.message)),
                             windowTitle(), kMbOk | kMbIconExclamation);
    reject();
}

void LibraryFlightPicker::addSelected() {
    if (m_busy || !m_library) {
        return;
    }
    std::vector<library::FlightRecord> chosen;
    std::set<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        rows.insert(m_proxy->mapToSource(index).row());
    }
    for (int row : rows) {
        chosen.push_back(m_model->record(row));
    }
    if (chosen.empty()) {
        return;
    }
    m_status->setText(
        QStringLiteral("Reading %1 %2...")
            .arg(chosen.size())
            .arg(chosen.size() == 1 ? QStringLiteral("flight") : QStringLiteral("flights")));
    const std::filesystem::path folder = m_library->folder();
    startJob([this, folder, chosen = std::move(chosen)] {
        auto loaded = std::make_shared<LoadedFlights>();
        for (const library::FlightRecord& record : chosen) {
            if (m_worker.cancelled()) {
                return WorkerThread::JobEnd{};
            }
            const std::filesystem::path file = folder / std::filesystem::path(record.archivePath);
            if (auto flight = loadFirstSet(file, flightName(record))) {
                loaded->flights.push_back(std::move(*flight));
            } else {
                loaded->refused.push_back(q(file.string()));
            }
        }
        post([this, loaded] {
            // Closed first: the comparison's message, if any, then stands alone.
            Chosen chosen = m_chosen;
            accept();
            if (chosen) {
                chosen(std::move(*loaded));
            }
        });
        return WorkerThread::JobEnd{};
    });
}

bool LibraryFlightPicker::startJob(std::function<WorkerThread::JobEnd()> job) {
    if (m_busy || m_worker.running()) {
        return false;
    }
    const bool started = m_worker.run(std::move(job), [this] {
        m_busy = false;
        updateButtons();
    });
    m_busy = started;
    updateButtons();
    return started;
}

void LibraryFlightPicker::updateButtons() {
    m_add->setEnabled(!m_busy && m_library && m_table->selectionModel()->hasSelection());
}

}  // namespace tevusb::ui
