// SPDX-License-Identifier: MIT
#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>

#include "app/after_first_paint.h"
#include "app/analysis_front.h"
#include "app/compare_menu.h"
#include "app/data_set_drop.h"
#include "app/file_notice.h"
#include "app/graph_widget.h"
#include "app/keyboard_access.h"
#include "app/library_menu.h"
#include "app/main_menu.h"
#include "app/preflight_menu.h"
#include "app/report_menu.h"
#include "app/simulation_front.h"
#include "app/simulator_menu.h"
#include "app/user_guide.h"
#include "data/data_set_store.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "ui/dialogs/about_window.h"
#include "ui/dialogs/capture_window.h"
#include "ui/dialogs/chip_load_window.h"
#include "ui/dialogs/control_options_window.h"
#include "ui/dialogs/update_window.h"
#include "ui/message_box.h"
#include "ui/resource_images.h"
#include "ui/user_prompts.h"

namespace tevusb::app {

namespace {
constexpr int kConfirmCloseText = text::string_ids::kAreYouSure;
// Exit status when the picture buffer cannot be made and the program has to stop.
constexpr int kSurfaceFailedStatus = 1;
}  // namespace

MainWindow::MainWindow(data::DataSetStore& store,
                       std::shared_ptr<device::sim::SimBackend> simulator)
    : m_graph(store, m_surface),
      m_files(this, store, m_graph),
      m_graphWidget(new GraphWidget(m_surface, this)),
      m_simulator(std::move(simulator)) {
    setWindowTitle(QString::fromUtf8(text::kCaption.data(), text::kCaption.size()));
    // Drawing the icon's sizes for the window system costs more than the first picture's
    // frame; the title bar gets it a moment after the graph is shown.
    afterFirstPaint(*m_graphWidget, [this] { setWindowIcon(ui::programIcon()); });
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setCentralWidget(m_graphWidget);
    buildMainMenu(*this);
    m_analysis = new AnalysisFront(*this, m_graph, m_files, m_graphWidget);
    addCompareCommand(*this, m_graph, store);
    addPreflightCommands(*this, m_graph);
    m_simulation = new SimulationFront(
        *this, m_graph, store, [this] { m_analysis->simulationChanged(); },
        [this] { return m_files.shownFile(); });
    m_analysis->setShownHook([this] { m_simulation->flightShown(); });
    if (m_simulator) {
        buildSimulatorMenu(*this, m_simulator);
    }
    connectCommands();
    new DataSetDrop(*this, m_files);
    new LibraryMenu(*this);
    buildReportMenu(*this, m_graphWidget, m_graph, store)->setShownFile([this] {
        return m_files.shownFile();
    });
    // What to do, over the empty picture: a label beside the graph, never drawn into it.
    auto* hint = new QLabel(GraphWidget::emptyHint(), this);
    hint->setObjectName(QStringLiteral("emptyHint"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint->setStyleSheet(
        QStringLiteral("color: #404040; font-size: 14pt; background: transparent;"));
    hint->hide();
    m_graphWidget->setPaintedHook([this, hint] {
        const bool empty = !m_downloading && m_graph.statistics().readings == 0;
        if (empty && hint->geometry() != m_graphWidget->geometry()) {
            hint->setGeometry(m_graphWidget->geometry());
        }
        // Only a change of state touches the label, so its own repaint ends the round.
        if (hint->isHidden() == empty) {
            hint->setVisible(empty);
            hint->raise();
        }
    });
    auto* notice = new FileNotice(m_graphWidget, this);
    m_files.setNoticeHandler(
        [notice](const QString& text, bool problem) { notice->say(text, problem); });
    addUserGuideItem(*this);
    addKeyboardAccess(*this);

    m_resizeSettle.setSingleShot(true);
    m_resizeSettle.setInterval(kResizeSettleMs);
    connect(&m_resizeSettle, &QTimer::timeout, this, &MainWindow::RebuildSurface);
    connect(m_graphWidget, &GraphWidget::resized, this, &MainWindow::onClientResized);
    // Moved to a screen of another scale: the picture is drawn again at the new one.
    connect(m_graphWidget, &GraphWidget::ratioChanged, this, &MainWindow::RebuildSurface,
            Qt::QueuedConnection);

    // Views are drawn on the window thread and by download workers; either only posts the
    // repaint, which Qt drops if the widget is gone by then.
    GraphWidget* target = m_graphWidget;
    m_surface.setRepaintRequest([target] {
        QMetaObject::invokeMethod(
            target, [target] { target->update(); }, Qt::QueuedConnection);
    });
}

MainWindow::~MainWindow() {
    // The graph widget outlives this object's members by a moment (Qt deletes children
    // later); nothing it does then may reach them.
    disconnect(m_graphWidget, nullptr, this, nullptr);
    delete m_analysis;
    m_surface.setRepaintRequest({});
    m_surface.release();
}

void MainWindow::connectCommands() {
    const auto on = [this](int id, auto slot) {
        connect(menuAction(*this, id), &QAction::triggered, this, slot);
    };
    on(command::kOpen, [this] { m_files.openDataSet(); });
    on(command::kExportCsv, [this] { m_files.exportCurrentSet(ExportFormat::Csv); });
    on(command::kExportXml, [this] { m_files.exportCurrentSet(ExportFormat::Xml); });
    on(command::kExit, [this] { close(); });
    on(command::kDownload, [this] { openDownloadDialog(); });
    on(command::kDeviceSettings, [this] { openDeviceSettingsDialog(); });
    on(command::kControlDevice, [this] { openControlDialog(); });
    on(command::kUpdateFirmware, [this] { openFirmwareDialog(); });
    on(command::kAbout, [this] { openAboutDialog(); });
}

bool MainWindow::createSurface() {
    if (QLayout* frame = layout()) {
        frame->activate();
    }
    const QSize client = m_graphWidget->size();
    m_surface.release();
    m_graph.setClientSize(client.width(), client.height());
    if (m_surface.create(client.width(), client.height(), m_graphWidget->devicePixelRatioF())) {
        return true;
    }
    ui::userPrompts().messageBox(this, QString::fromUtf8(surface::kInitFailedText.data()),
                                 QString::fromUtf8(surface::kInitFailedCaption.data()),
                                 ui::kMbOk | ui::kMbIconExclamation);
    endProgram();
    return false;
}

void MainWindow::RebuildSurface() {
    m_resizeSettle.stop();
    const QSize client = m_graphWidget->size();
    m_surface.release();
    if (client.width() <= 0 || client.height() <= 0) {
        return;
    }
    m_graph.setClientSize(client.width(), client.height());
    if (!m_surface.create(client.width(), client.height(), m_graphWidget->devicePixelRatioF())) {
        // Only an absurd size or exhausted memory gets here; there is nothing to show on.
        endProgram();
        return;
    }
    m_graph.RedrawGraph();
}

void MainWindow::onClientResized() {
    // A maximised (or full-screen) window got its final size at once; otherwise the old
    // picture is stretched until the size has settled.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        RebuildSurface();
        return;
    }
    m_graphWidget->update();
    m_resizeSettle.start();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMaximized()) {
        // The new size may arrive after the state; rebuild once the queue has settled.
        QTimer::singleShot(0, this, &MainWindow::RebuildSurface);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_ending &&
        ui::messageBox(this, kConfirmCloseText, ui::kMbYesNo | ui::kMbIconExclamation) !=
            ui::MessageResult::Yes) {
        event->ignore();
        return;
    }
    m_resizeSettle.stop();
    m_surface.release();
    event->accept();
}

void MainWindow::endProgram() {
    m_ending = true;
    m_resizeSettle.stop();
    m_surface.release();
    QCoreApplication::exit(kSurfaceFailedStatus);
}

void MainWindow::openDownloadDialog() {
    int selected = -1;
    {
        ui::CCaptureWindow dialog(this, &m_graph, &m_surface);
        m_downloading = true;
        dialog.exec();
        m_downloading = false;
        selected = dialog.selectedSet();
    }
    showSelectedSet(selected);
}

void MainWindow::openDeviceSettingsDialog() {
    ui::CChipLoadWindow dialog(this, &m_graph);
    dialog.exec();
}

void MainWindow::openControlDialog() {
    ui::CControlOptionsWindow dialog(this, &m_graph);
    dialog.exec();
}

void MainWindow::openFirmwareDialog() {
    ui::CUpdateWindow dialog(this);
    dialog.exec();
}

void MainWindow::openAboutDialog() {
    ui::CAboutWindow about;
    about.show(this);
}

void MainWindow::showSelectedSet(int k) {
    m_files.showSelectedSet(k);
}

}  // namespace tevusb::app
