// SPDX-License-Identifier: MIT
#include "ui/library/library_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>

#include "library/preflight_record.h"
#include "ui/library/flight_filter_proxy.h"
#include "ui/library/flight_table_model.h"
#include "ui/library/flight_table_view.h"
#include "ui/library/library_units.h"
#include "ui/library_service.h"
#include "ui/native_path.h"
#include "ui/user_prompts.h"
#include "ui/window_placement.h"

namespace tevusb::ui {

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

LibraryWindow::LibraryWindow(LibraryService& service, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_service(service),
      m_model(new FlightTableModel(this)),
      m_proxy(new FlightFilterProxy(m_model, this)) {
    setObjectName(QStringLiteral("flightLibrary"));
    setWindowTitle(QStringLiteral("Flight Library"));
    m_model->setEditor([this](std::int64_t id, const library::FlightFields& fields) {
        return editFlight(id, fields);
    });
    buildLayout();
    connect(m_model, &FlightTableModel::editRefused, this,
            [this](const QString& reason) { m_status->setText(reason); });
    resize(900, 520);
}

LibraryWindow::~LibraryWindow() {
    // The worker posts to this window; it must have ended before the window goes. The
    // library stops at its next step once asked.
    while (!m_worker.cancelAndWait(100)) {
    }
}

void LibraryWindow::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("libraryFilter"));
    m_filter->setPlaceholderText(
        QStringLiteral("Search rocket, motor, site, notes, comment or date (e.g. H128)"));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, m_proxy, &FlightFilterProxy::setSearch);
    connect(m_filter, &QLineEdit::textChanged, this, [this] { searchChanged(); });
    layout->addWidget(m_filter);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("libraryTable"));
    setUpFlightTable(*m_table, m_proxy);
    // Said inside the table, where the flyer looks for the rows.
    m_emptyNote = new QLabel(m_table->viewport());
    m_emptyNote->setObjectName(QStringLiteral("libraryEmptyNote"));
    m_emptyNote->setAlignment(Qt::AlignCenter);
    m_emptyNote->setWordWrap(true);
    m_emptyNote->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_emptyNote->setStyleSheet(QStringLiteral("color: #505050; font-size: 11pt;"));
    auto* noteLayout = new QVBoxLayout(m_table->viewport());
    noteLayout->addWidget(m_emptyNote);
    m_emptyNote->hide();
    m_table->setEditTriggers(QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::SelectedClicked);
    connect(m_table, &QTableView::doubleClicked, this, [this] { openSelected(); });
    layout->addWidget(m_table, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("libraryStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("libraryProgress"));
    m_progress->hide();
    m_preflight = new QLabel(this);
    m_preflight->setObjectName(QStringLiteral("libraryPreflight"));
    m_preflight->setWordWrap(true);
    m_preflight->hide();
    layout->addWidget(m_preflight);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);

    auto* buttons = new QHBoxLayout;
    m_openButton = button(QStringLiteral("Open"), "libraryOpen", this);
    m_exportButton = button(QStringLiteral("Export..."), "libraryExport", this);
    auto* exportMenu = new QMenu(m_exportButton);
    exportMenu->addAction(QStringLiteral("Data-set files (.tev)..."), this,
                          [this] { exportSelected(library::ExportFormat::Tev); });
    exportMenu->addAction(QStringLiteral("Excel CSV..."), this,
                          [this] { exportSelected(library::ExportFormat::Csv); });
    exportMenu->addAction(QStringLiteral("XML..."), this,
                          [this] { exportSelected(library::ExportFormat::Xml); });
    exportMenu->addSeparator();
    // Files are named as the table names the flights; sorting by download stays at hand.
    m_nameByTime = exportMenu->addAction(QStringLiteral("Name Files by Download Time"));
    m_nameByTime->setObjectName(QStringLiteral("libraryExportByTime"));
    m_nameByTime->setCheckable(true);
    m_exportButton->setMenu(exportMenu);
    m_deleteButton = button(QStringLiteral("Delete..."), "libraryDelete", this);
    m_importFileButton = button(QStringLiteral("Import File..."), "libraryImportFile", this);
    m_importFolderButton = button(QStringLiteral("Import Folder..."), "libraryImportFolder", this);
    m_rebuildButton = button(QStringLiteral("Rebuild"), "libraryRebuild", this);
    m_rebuildButton->setToolTip(QStringLiteral("Recreate the index from the flight files"));
    m_cancelButton = button(QStringLiteral("Cancel"), "libraryCancel", this);
    m_cancelButton->hide();
    connect(m_openButton, &QPushButton::clicked, this, [this] { openSelected(); });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(m_importFileButton, &QPushButton::clicked, this, [this] { importFile(); });
    connect(m_importFolderButton, &QPushButton::clicked, this, [this] { importFolder(); });
    connect(m_rebuildButton, &QPushButton::clicked, this, [this] { rebuild(); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { cancelWork(); });
    for (QPushButton* b : {m_openButton, m_exportButton, m_deleteButton}) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    for (QPushButton* b :
         {m_importFileButton, m_importFolderButton, m_rebuildButton, m_cancelButton}) {
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        updateButtons();
        showPreflight();
        if (m_resultShown && !m_jobActive && !m_openFailed) {
            m_status->setText(listStatus());
            m_resultShown = false;
        }
    });
    updateButtons();
}

void LibraryWindow::showPreflight() {
    const std::vector<std::int64_t> ids = selectedIds();
    const auto check = ids.size() == 1 && m_library
                           ? library::preflightBeforeFlight(*m_library, ids.front())
                           : std::nullopt;
    m_preflight->setVisible(check.has_value());
    if (check) {
        m_preflight->setText(QStringLiteral("Pre-flight check before this flight: ") +
                             QString::fromStdString(library::preflightLines(*check).front()));
    }
}

void LibraryWindow::open() {
    showInFront(this, parentWidget());
    m_failureTold = false;
    reload();
}

namespace {

// How many rows go ahead of the rest: more than any screen shows.
constexpr std::size_t kFirstScreenRows = 200;

// The index's order for the table's sort column, where the index has one.
std::optional<library::ListQuery> queryFor(int column, Qt::SortOrder order) {
    library::ListQuery query;
    query.descending = order == Qt::DescendingOrder;
    switch (column) {
        case FlightTableModel::Date:
            query.sort = library::SortKey::DownloadedAt;
            return query;
        case FlightTableModel::Apogee:
            query.sort = library::SortKey::ApogeeAgl;
            return query;
        case FlightTableModel::Id:
            query.sort = library::SortKey::Id;
            return query;
        default:
            return std::nullopt;
    }
}

}  // namespace

void LibraryWindow::reload() {
    m_model->setUnits(preferredUnits());
    const std::optional<library::ListQuery> query =
        queryFor(m_proxy->sortColumn(), m_proxy->sortOrder());
    startJob(QStringLiteral("Loading the flight library..."), [this, query] {
        library::Outcome outcome;
        std::shared_ptr<library::FlightLibrary> lib = m_service.acquire(&outcome);
        if (!lib) {
            post([this, outcome] { showOpenFailure(outcome); });
            return WorkerThread::JobEnd{};
        }
        library::Outcome listed;
        std::vector<library::FlightRecord> records =
            lib->list(query.value_or(library::ListQuery{}), &listed);
        if (!listed.ok()) {
            post([this, listed] { showOpenFailure(listed); });
            return WorkerThread::JobEnd{};
        }
        // In the table's own order the first rows are those on screen: they are shown
        // while the rest is still being made ready.
        if (query && records.size() > kFirstScreenRows) {
            std::vector<library::FlightRecord> first(records.begin(),
                                                     records.begin() + kFirstScreenRows);
            auto rows = std::make_shared<std::vector<FlightTableModel::Row>>(
                FlightTableModel::prepareRows(std::move(first)));
            post([this, lib, rows] {
                m_library = lib;
                m_model->setRows(std::move(*rows));
                emit rowsShown();
            });
        }
        auto rows = std::make_shared<std::vector<FlightTableModel::Row>>(
            FlightTableModel::prepareRows(std::move(records)));
        auto simulated = std::make_shared<std::unordered_map<std::int64_t, double>>();
        for (const library::AttachedSimulation& a : lib->attachedSimulations()) {
            if (a.simApogeeM) {
                (*simulated)[a.flightId] = *a.simApogeeM;
            }
        }
        post([this, lib, rows, simulated] {
            m_library = lib;
            m_openFailed = false;
            m_model->setSimulatedApogees(std::move(*simulated));
            showRows(std::move(*rows));
        });
        return WorkerThread::JobEnd{};
    });
}

void LibraryWindow::showRows(std::vector<FlightTableModel::Row> rows) {
    // A selection made on the first screen's rows is kept over the full load.
    const std::vector<std::int64_t> selected = selectedIds();
    m_model->setRows(std::move(rows));
    for (std::int64_t id : selected) {
        const int row = m_model->rowOf(id);
        if (row >= 0) {
            m_table->selectionModel()->select(
                m_proxy->mapFromSource(m_model->index(row, 0)),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    emit rowsShown();
    m_loadedOnce = true;
    m_status->setText(listStatus());
    m_resultShown = false;
    if (!m_afterLoad.isEmpty()) {
        showResult(listStatus() + QLatin1Char('\n') + m_afterLoad);
        m_afterLoad.clear();
    }
    updateEmptyNote();
    emit loaded();
}

QString LibraryWindow::listStatus() const {
    const int all = m_model->rowCount();
    const int shown = m_proxy->rowCount();
    const QString search = m_proxy->search().trimmed();
    if (search.isEmpty() || all == 0) {
        return QStringLiteral("%1 %2 in %3")
            .arg(all)
            .arg(all == 1 ? QStringLiteral("flight") : QStringLiteral("flights"))
            .arg(q(m_service.folder().string()));
    }
    if (shown == 0) {
        return QStringLiteral("No flight matches \"%1\".").arg(search);
    }
    return QStringLiteral("%1 of %2 %3 \"%4\".")
        .arg(shown)
        .arg(all)
        .arg(shown == 1 ? QStringLiteral("flights matches") : QStringLiteral("flights match"))
        .arg(search);
}

void LibraryWindow::showResult(const QString& text) {
    m_status->setText(text);
    m_resultShown = true;
}

void LibraryWindow::searchChanged() {
    // While work runs its line stays; the table's own note says what the search found.
    if (!m_jobActive && !m_openFailed && m_loadedOnce) {
        m_status->setText(listStatus());
        m_resultShown = false;
    }
    updateEmptyNote();
}

QString LibraryWindow::emptyTableText() const {
    if (!m_loadedOnce || m_openFailed || m_proxy->rowCount() > 0) {
        return {};
    }
    if (m_model->rowCount() > 0) {
        return QStringLiteral("No flight matches \"%1\".\nClear the search to see every flight.")
            .arg(m_proxy->search().trimmed());
    }
    return QStringLiteral(
        "No flights in the library yet.\nImport data-set files (Import File..., Import "
        "Folder...) or download flights (Tools > Download Data...).");
}

void LibraryWindow::updateEmptyNote() {
    const QString text = emptyTableText();
    m_emptyNote->setText(text);
    m_emptyNote->setVisible(!text.isEmpty());
}

void LibraryWindow::showOpenFailure(const library::Outcome& outcome) {
    m_openFailed = true;
    m_library.reset();
    m_model->setRecords({});
    m_afterLoad.clear();
    updateEmptyNote();
    const QString where = ui::toQString(m_service.folder());
    const QString reason = q(outcome.message);
    m_openFailure = reason;
    m_status->setText(
        QStringLiteral("The flight library in %1 cannot be opened: %2").arg(where, reason));
    updateButtons();
    emit loaded();
    // Asked once the loading job has ended, so that Rebuild can start at once.
    m_askRebuild = !m_failureTold && outcome.status != library::LibraryStatus::NotOpen;
    m_openStatus = outcome.status;
}

void LibraryWindow::askRebuild() {
    m_failureTold = true;
    const bool repairable = m_openStatus == library::LibraryStatus::IndexDamaged ||
                            m_openStatus == library::LibraryStatus::IndexMissing;
    if (!repairable) {
        // An index from a newer program, a full disk or a busy index is no case for a
        // rebuild: it would throw away what the newer program keeps, or fail the same way.
        userPrompts().messageBox(this,
                                 QStringLiteral("The flight library in %1 cannot be opened:\n%2")
                                     .arg(q(m_service.folder().string()), m_openFailure),
                                 windowTitle(), kMbOk | kMbIconExclamation);
        return;
    }
    const QString text = QStringLiteral(
                             "The flight library in %1 cannot be opened:\n%2\n\n"
                             "Rebuild its index from the flight files? The files themselves "
                             "are kept as they are.")
                             .arg(q(m_service.folder().string()), m_openFailure);
    // This question is the rebuild's own: Yes starts it without asking again.
    if (userPrompts().messageBox(this, text, windowTitle(), kMbYesNo | kMbIconExclamation) ==
        MessageResult::Yes) {
        startRebuild(false);
    }
}

bool LibraryWindow::startJob(const QString& what, std::function<WorkerThread::JobEnd()> job) {
    if (m_jobActive || m_worker.running()) {
        return false;
    }
    m_jobActive = true;
    m_lastPercent = -1;
    m_status->setText(what);
    m_progress->setRange(0, 0);
    m_progress->show();
    m_cancelButton->show();
    const bool started = m_worker.run(std::move(job), [this] { finishJob(); });
    m_jobActive = started;
    updateButtons();
    return started;
}

library::Progress LibraryWindow::progressReporter() {
    return [this](std::size_t done, std::size_t total) {
        // One update per percent at most: the window thread is not flooded.
        const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
        if (m_lastPercent.exchange(percent) != percent) {
            post([this, done, total] {
                m_progress->setRange(0, static_cast<int>(std::min<std::size_t>(total, 1 << 30)));
                m_progress->setValue(static_cast<int>(std::min<std::size_t>(done, 1 << 30)));
            });
        }
        return !m_worker.cancelled();
    };
}

void LibraryWindow::finishJob() {
    m_jobActive = false;
    m_progress->hide();
    m_cancelButton->hide();
    updateButtons();
    if (m_askRebuild) {
        m_askRebuild = false;
        askRebuild();
    }
}

void LibraryWindow::cancelWork() {
    m_worker.cancel();
}

void LibraryWindow::updateButtons() {
    // While a job runs the window thread stays off the library, so an edit or a second
    // job never waits for the first.
    const bool idle = !m_jobActive;
    const bool usable = idle && m_library != nullptr;
    const bool selected = usable && !selectedIds().empty();
    m_openButton->setEnabled(selected);
    m_exportButton->setEnabled(selected);
    m_deleteButton->setEnabled(selected);
    m_importFileButton->setEnabled(usable);
    m_importFolderButton->setEnabled(usable);
    m_rebuildButton->setEnabled(idle);
    m_filter->setEnabled(true);
}

QString LibraryWindow::statusText() const {
    return m_status->text();
}

std::vector<std::int64_t> LibraryWindow::selectedIds() const {
    std::vector<std::int64_t> ids;
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) {
        ids.push_back(index.data(FlightTableModel::IdRole).toLongLong());
    }
    return ids;
}

QString LibraryWindow::editFlight(std::int64_t id, const library::FlightFields& fields) {
    if (m_jobActive || !m_library) {
        return QStringLiteral("Wait until the flight library has finished its work.");
    }
    // The row shows the new text at once; the index is written on the worker, since
    // another program holding it could keep the write waiting for seconds.
    std::shared_ptr<library::FlightLibrary> lib = m_library;
    startJob(QStringLiteral("Saving the change..."), [this, lib, id, fields] {
        const library::Outcome out = lib->edit(id, fields);
        return [this, ok = out.ok(), message = q(out.message)] {
            if (ok) {
                showResult(QStringLiteral("Change saved."));
                emit workDone();
                return;
            }
            // The table goes back to what the library holds.
            reload();
            showSummary(QStringLiteral("The change could not be saved: %1").arg(message), true);
        };
    });
    return {};
}

void LibraryWindow::closeEvent(QCloseEvent* event) {
    // Closing hides the window; work under way goes on to its end and reports in the
    // window the next time it is shown.
    event->accept();
}

}  // namespace tevusb::ui
