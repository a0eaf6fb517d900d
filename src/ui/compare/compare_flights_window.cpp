// SPDX-License-Identifier: MIT
#include "ui/compare/compare_flights_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>

#include "analysis/comparison_table.h"
#include "analysis/flight_alignment.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "ui/compare/comparison_graph.h"
#include "ui/compare/flight_loading.h"
#include "ui/user_prompts.h"

namespace tevusb::ui {

namespace {

QString caption() {
    return QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
}

QPushButton* button(QWidget* parent, const QString& label, const char* name) {
    auto* b = new QPushButton(label, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

CompareFlightsWindow::CompareFlightsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_graph(new ComparisonGraph(this)),
      m_table(new QTableWidget(this)),
      m_alignAt(new QComboBox(this)),
      m_altitude(new QCheckBox(tr("Altitude"), this)),
      m_velocity(new QCheckBox(tr("Velocity"), this)) {
    setObjectName(QString::fromLatin1(kObjectName));
    setWindowTitle(tr("Compare Flights"));
    m_alignAt->setObjectName(QStringLiteral("alignAt"));
    m_alignAt->addItem(tr("Launch"));
    m_alignAt->addItem(tr("Apogee"));
    m_altitude->setObjectName(QStringLiteral("showAltitude"));
    m_velocity->setObjectName(QStringLiteral("showVelocity"));
    m_altitude->setChecked(true);
    m_table->setObjectName(QStringLiteral("statistics"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectColumns);

    auto* add = button(this, tr("Add Flights..."), "addFlights");
    m_addFromLibrary = button(this, tr("Add from Library..."), "addFromLibrary");
    m_addFromLibrary->hide();
    auto* remove = button(this, tr("Remove Flight"), "removeFlight");
    connect(add, &QPushButton::clicked, this, &CompareFlightsWindow::chooseFiles);
    connect(m_addFromLibrary, &QPushButton::clicked, this,
            &CompareFlightsWindow::chooseFromLibrary);
    connect(remove, &QPushButton::clicked, this, &CompareFlightsWindow::removeSelected);
    connect(m_alignAt, &QComboBox::currentIndexChanged, this, [this](int i) {
        setAlignAt(i == 1 ? analysis::AlignAt::Apogee : analysis::AlignAt::Launch);
    });
    connect(m_altitude, &QCheckBox::toggled, this,
            [this] { setQuantities(m_altitude->isChecked(), m_velocity->isChecked()); });
    connect(m_velocity, &QCheckBox::toggled, this,
            [this] { setQuantities(m_altitude->isChecked(), m_velocity->isChecked()); });

    auto* controls = new QHBoxLayout;
    controls->addWidget(add);
    controls->addWidget(m_addFromLibrary);
    controls->addWidget(remove);
    controls->addSpacing(16);
    controls->addWidget(new QLabel(tr("Align at"), this));
    controls->addWidget(m_alignAt);
    controls->addSpacing(16);
    controls->addWidget(m_altitude);
    controls->addWidget(m_velocity);
    controls->addStretch(1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_graph);
    split->addWidget(m_table);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(split, 1);
    auto* note = new QLabel(
        tr("Moments read T+ from each flight's launch; differences are to the first flight."),
        this);
    note->setObjectName(QStringLiteral("timeNote"));
    layout->addWidget(note);
    resize(1000, 760);
    refresh();
}

CompareFlightsWindow::~CompareFlightsWindow() {
    // The loader reads a few files and posts to this window; it ends before the window goes.
    while (!m_loader.waitFor(100)) {
    }
}

bool CompareFlightsWindow::addFlight(graph::ComparedFlight flight) {
    if (m_flights.size() >= kMaxFlights) {
        return false;
    }
    m_flights.push_back(std::move(flight));
    refresh();
    return true;
}

int CompareFlightsWindow::addFiles(const QStringList& paths) {
    return addLoaded(loadFlightFiles(paths));
}

int CompareFlightsWindow::addLoaded(LoadedFlights loaded) {
    int added = 0;
    bool full = false;
    for (graph::ComparedFlight& flight : loaded.flights) {
        if (m_flights.size() >= kMaxFlights) {
            full = true;
            break;
        }
        m_flights.push_back(std::move(flight));
        ++added;
    }
    refresh();
    QString problems;
    if (!loaded.refused.isEmpty()) {
        problems =
            QString::fromStdString(std::string(text::stringText(text::string_ids::kLoadFailed))) +
            QStringLiteral("\n") + loaded.refused.join(QStringLiteral("\n"));
    }
    if (full) {
        problems +=
            (problems.isEmpty() ? QString() : QStringLiteral("\n\n")) +
            tr("At most %1 flights can be compared; the rest were left out.").arg(kMaxFlights);
    }
    if (!problems.isEmpty()) {
        userPrompts().messageBox(this, problems, caption(), kMbOk | kMbIconExclamation);
    }
    return added;
}

void CompareFlightsWindow::setLibraryChooser(std::function<void()> chooser) {
    m_libraryChooser = std::move(chooser);
    m_addFromLibrary->setVisible(static_cast<bool>(m_libraryChooser));
}

void CompareFlightsWindow::chooseFromLibrary() {
    if (m_libraryChooser && haveRoom()) {
        m_libraryChooser();
    }
}

bool CompareFlightsWindow::haveRoom() {
    if (room() > 0) {
        return true;
    }
    // Said before the flyer picks anything, not after.
    userPrompts().messageBox(
        this, tr("At most %1 flights can be compared; remove one first.").arg(kMaxFlights),
        caption(), kMbOk | kMbIconInformation);
    return false;
}

void CompareFlightsWindow::chooseFiles() {
    if (!haveRoom()) {
        return;
    }
    FileDialogRequest request = FileDialogRequest::openDataSets(tr("Add Flights to Compare"));
    // Simulations go beside the flights as curves of their own.
    request.filterName = QStringLiteral("Flights and simulations");
    request.pattern = QStringLiteral("*.tev *.ork *.csv");
    const QStringList paths = userPrompts().openFiles(this, request);
    if (paths.isEmpty()) {
        return;
    }
    // Read on a worker: files on a slow or network disk must not freeze the window.
    const bool started = m_loader.run([this, paths] {
        auto loaded = std::make_shared<LoadedFlights>(loadFlightFiles(paths));
        return [this, loaded] { addLoaded(std::move(*loaded)); };
    });
    if (!started) {
        userPrompts().messageBox(this, tr("The flights chosen before are still being read."),
                                 caption(), kMbOk | kMbIconInformation);
    }
}

bool CompareFlightsWindow::waitForLoading(int ms) {
    return m_loader.waitFor(ms);
}

void CompareFlightsWindow::removeFlight(std::size_t index) {
    if (index < m_flights.size()) {
        m_flights.erase(m_flights.begin() + static_cast<std::ptrdiff_t>(index));
        refresh();
    }
}

void CompareFlightsWindow::removeSelected() {
    const int column = m_table->currentColumn();
    if (column >= 0) {
        removeFlight(static_cast<std::size_t>(column));
    }
}

void CompareFlightsWindow::setAlignAt(analysis::AlignAt at) {
    const int index = at == analysis::AlignAt::Apogee ? 1 : 0;
    if (m_alignAt->currentIndex() != index) {
        m_alignAt->setCurrentIndex(index);  // comes back here through the signal
        return;
    }
    refresh();
}

void CompareFlightsWindow::setQuantities(bool altitude, bool velocity) {
    m_altitude->setChecked(altitude);
    m_velocity->setChecked(velocity);
    graph::ComparisonState state = m_graph->state();
    state.altitude = altitude;
    state.velocity = velocity;
    m_graph->setState(state);
}

void CompareFlightsWindow::setUnits(analysis::UnitSystem units) {
    m_units = units;
    m_graph->setUnits(units);
    fillTable();
}

void CompareFlightsWindow::refresh() {
    const analysis::AlignAt at =
        m_alignAt->currentIndex() == 1 ? analysis::AlignAt::Apogee : analysis::AlignAt::Launch;
    std::vector<analysis::FlightStatistics> statistics;
    for (const auto& f : m_flights) {
        statistics.push_back(f.statistics);
    }
    graph::ComparisonState state = m_graph->state();
    state.alignAt = at;
    m_graph->setState(state);
    m_graph->setFlights(&m_flights, analysis::alignFlights(statistics, at));
    fillTable();
}

void CompareFlightsWindow::fillTable() {
    std::vector<analysis::FlightStatistics> statistics;
    QStringList names;
    for (const auto& f : m_flights) {
        statistics.push_back(f.statistics);
        names.push_back(f.name);
    }
    const auto rows = analysis::comparisonRows(statistics, m_units);
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(m_flights.size()));
    m_table->setRowCount(static_cast<int>(rows.size()));
    m_table->setHorizontalHeaderLabels(names);
    for (std::size_t c = 0; c < m_flights.size(); ++c) {
        m_table->horizontalHeaderItem(static_cast<int>(c))
            ->setForeground(QColor::fromRgba(graph::comparisonColour(c)));
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        m_table->setVerticalHeaderItem(static_cast<int>(r),
                                       new QTableWidgetItem(QString::fromStdString(rows[r].label)));
        for (std::size_t c = 0; c < rows[r].values.size(); ++c) {
            QString text = QString::fromStdString(rows[r].values[c]);
            if (!rows[r].differences[c].empty()) {
                text += QStringLiteral("  (") + QString::fromStdString(rows[r].differences[c]) +
                        QLatin1Char(')');
            }
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

}  // namespace tevusb::ui
