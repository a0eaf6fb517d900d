// SPDX-License-Identifier: MIT
// Files that reach the window without File > Open: named on the command line or dropped.
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "app/after_first_paint.h"
#include "app/data_set_drop.h"
#include "app/program.h"
#include "app_fixture.h"
#include "support/screenshot.h"

namespace tevusb::app {
namespace {

using testing::AppTest;
using testing::waitUntil;

std::unique_ptr<QMimeData> urls(const QList<QUrl>& list) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(list);
    return data;
}

TEST_F(AppTest, FileOnTheCommandLineOpensAsFileOpenDoes) {
    openWindow();
    AppOptions options;
    options.file = TEVUSB_SAMPLE_FLIGHT;
    Program::openStartFile(*m_window, options);
    ASSERT_TRUE(waitUntil([&] { return m_store.current.size() > 0; }));
    EXPECT_EQ(m_store.current.setIndex, 0);
    EXPECT_FALSE(testing::isUniform(m_window->surface().snapshot(), testing::kSetBackground));
    EXPECT_EQ(logCount("Loaded data set."), 1);
    EXPECT_TRUE(m_prompts.files().empty());  // no dialog asked for it
    EXPECT_TRUE(tevusb::testing::saveShot(*m_window, "opened-from-command-line.png"));

    options.file = tempPath("missing.tev").toStdString();
    Program::openStartFile(*m_window, options);
    ASSERT_TRUE(waitUntil([&] { return !m_prompts.boxes().empty(); }));
    EXPECT_EQ(m_prompts.boxes()[0].text,
              "Could not load file. Make sure the file is valid and not locked.");
    EXPECT_EQ(m_prompts.boxes()[0].owner, m_window.get());
    EXPECT_GT(m_store.current.size(), 0u);  // the flight shown before stays
}

TEST(DataSetDropTest, OnlyOneLocalTevFileIsTaken) {
    const QUrl flight = QUrl::fromLocalFile("/home/flyer/flights/launch.TEV");
    EXPECT_EQ(DataSetDrop::droppedFile(urls({flight}).get()),
              QString("/home/flyer/flights/launch.TEV"));
    EXPECT_FALSE(DataSetDrop::droppedFile(urls({QUrl("https://example.org/a.tev")}).get()));
    EXPECT_FALSE(DataSetDrop::droppedFile(urls({QUrl::fromLocalFile("/tmp/a.csv")}).get()));
    EXPECT_FALSE(DataSetDrop::droppedFile(urls({QUrl::fromLocalFile("/tmp/tev")}).get()));
    EXPECT_FALSE(DataSetDrop::droppedFile(urls({flight, flight}).get()));
    EXPECT_FALSE(DataSetDrop::droppedFile(urls({}).get()));
    QMimeData text;
    text.setText("/tmp/a.tev");
    EXPECT_FALSE(DataSetDrop::droppedFile(&text));
    EXPECT_FALSE(DataSetDrop::droppedFile(nullptr));
}

TEST_F(AppTest, DroppedFlightIsShownAndOtherDragsAreRefused) {
    openWindow();
    const QPointF middle(400, 300);
    const auto refused = urls({QUrl::fromLocalFile(tempPath("flight.csv"))});
    QDragEnterEvent enter(middle.toPoint(), Qt::CopyAction, refused.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());

    const auto flight = urls({QUrl::fromLocalFile(TEVUSB_SAMPLE_FLIGHT)});
    QDragEnterEvent accepted(middle.toPoint(), Qt::CopyAction, flight.get(), Qt::LeftButton,
                             Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &accepted);
    EXPECT_TRUE(accepted.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, flight.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(waitUntil([&] { return m_store.current.size() > 0; }));
    EXPECT_EQ(logCount("Loaded data set."), 1);
}

TEST(AfterFirstPaintTest, RunsOnceAfterTheFirstPaint) {
    int runs = 0;
    auto widget = std::make_unique<QWidget>();
    widget->resize(50, 40);
    afterFirstPaint(*widget, [&] { ++runs; });
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);  // not shown, not painted
    widget->show();
    ASSERT_TRUE(testing::waitUntil([&] { return runs == 1; }));
    widget->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace tevusb::app
