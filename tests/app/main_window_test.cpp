// SPDX-License-Identifier: MIT
#include <QAction>
#include <QElapsedTimer>

#include "app/graph_widget.h"
#include "app/main_menu.h"
#include "app_fixture.h"
#include "graph/surface/display_surface.h"

namespace tevusb::app {
namespace {

using testing::AppTest;
using testing::kSetBackground;
using testing::waitUntil;

TEST_F(AppTest, WindowHasItsTitleIconAndMinimumSize) {
    openWindow();
    EXPECT_EQ(m_window->windowTitle(), "TEV USB 1.50");
    // The icon follows the first picture of the graph.
    EXPECT_TRUE(waitUntil([&] { return !m_window->windowIcon().isNull(); }));
    EXPECT_EQ(m_window->centralWidget(), m_window->graphWidget());

    m_window->resize(100, 50);
    EXPECT_EQ(m_window->size(), QSize(420, 320));
    m_window->resize(419, 800);
    EXPECT_EQ(m_window->width(), 420);
}

TEST_F(AppTest, NewBufferIsBlackUntilTheSetViewIsDrawn) {
    m_window = std::make_unique<MainWindow>(m_store);
    m_window->resize(640, 480);
    ASSERT_TRUE(m_window->createSurface());
    EXPECT_EQ(m_window->surface().size(), m_window->graphWidget()->size());
    EXPECT_TRUE(testing::isUniform(m_window->surface().snapshot(), 0x000000));
    EXPECT_EQ(logCount("Updating buffer."), 0);
}

TEST_F(AppTest, ExitAnsweredNoKeepsTheWindowAndItsData) {
    openWindow();
    ASSERT_TRUE(m_store.loadSetFile(TEVUSB_SAMPLE_FLIGHT));
    const std::size_t packets = m_store.packets.size();
    m_prompts.answer(ui::MessageResult::No);
    trigger(command::kExit);
    ASSERT_EQ(m_prompts.boxes().size(), 1u);
    const auto box = m_prompts.boxes()[0];
    EXPECT_EQ(box.text, "Are you sure?");
    EXPECT_EQ(box.caption, "TEV USB 1.50");
    EXPECT_EQ(box.type, ui::kMbYesNo | ui::kMbIconExclamation);
    EXPECT_EQ(box.owner, m_window.get());
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_window->surface().hasBuffer());
    EXPECT_EQ(m_store.packets.size(), packets);
}

TEST_F(AppTest, ExitOrCloseAnsweredYesCloses) {
    openWindow();
    m_prompts.answer(ui::MessageResult::Yes);
    trigger(command::kExit);
    EXPECT_EQ(m_prompts.boxes().size(), 1u);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(m_window->surface().hasBuffer());

    // The window's own close button asks the same question.
    m_window->show();
    m_prompts.answer(ui::MessageResult::No);
    EXPECT_FALSE(m_window->close());
    m_prompts.answer(ui::MessageResult::Yes);
    EXPECT_TRUE(m_window->close());
    EXPECT_EQ(m_prompts.boxes().size(), 3u);
}

TEST_F(AppTest, BufferFollowsTheClientSizeWhenResizingEnds) {
    openWindow();
    ASSERT_TRUE(m_store.loadSetFile(TEVUSB_SAMPLE_FLIGHT));
    m_window->graph().ShowSet(0);
    const QSize before = m_window->surface().size();
    QElapsedTimer clock;
    clock.start();
    m_window->resize(700, 450);
    ASSERT_TRUE(waitUntil([&] { return m_window->graphWidget()->size() != before; }));
    if (clock.elapsed() < MainWindow::kResizeSettleMs / 2) {
        // The size is still changing as far as the window knows: the old picture is
        // stretched, not rebuilt for every step of a drag.
        EXPECT_EQ(m_window->surface().size(), before);
    }
    ASSERT_TRUE(waitUntil([&] { return bufferFitsClient(); }));
    // Rebuilt and redrawn: the set view is back at the new size, not a black buffer.
    const QImage picture = m_window->surface().snapshot();
    EXPECT_EQ(picture.pixel(2, 2) & 0xFFFFFFu, kSetBackground);
    EXPECT_FALSE(testing::isUniform(picture, kSetBackground));

    m_window->resize(1000, 700);
    ASSERT_TRUE(waitUntil([&] { return bufferFitsClient(); }));
    EXPECT_GT(m_window->surface().size().width(), 900);
}

TEST_F(AppTest, MaximisingRebuildsAtTheMaximisedSize) {
    openWindow();
    const QSize before = m_window->surface().size();
    m_window->showMaximized();
    ASSERT_TRUE(
        waitUntil([&] { return m_window->graphWidget()->size() != before && bufferFitsClient(); }));
    EXPECT_GE(logCount("Updating buffer."), 1);
}

TEST_F(AppTest, ZeroSizedClientLeavesNoBufferUntilTheNextRebuild) {
    openWindow();
    ASSERT_TRUE(m_store.loadSetFile(TEVUSB_SAMPLE_FLIGHT));
    m_window->graphWidget()->setMaximumHeight(0);
    ASSERT_TRUE(waitUntil([&] { return m_window->graphWidget()->height() == 0; }));
    m_window->RebuildSurface();
    EXPECT_FALSE(m_window->surface().hasBuffer());

    // Nothing draws or presents without a buffer, and nothing fails either.
    const int updates = logCount("Updating buffer.");
    m_window->showSelectedSet(0);
    EXPECT_EQ(logCount("Updating buffer."), updates);
    m_window->graphWidget()->repaint();
    EXPECT_FALSE(m_window->ending());

    m_window->graphWidget()->setMaximumHeight(QWIDGETSIZE_MAX);
    ASSERT_TRUE(waitUntil([&] { return bufferFitsClient(); }));
    EXPECT_FALSE(testing::isUniform(m_window->surface().snapshot(), kSetBackground));
}

TEST_F(AppTest, BufferThatCannotBeMadeWarnsAndEndsTheProgram) {
    m_window = std::make_unique<MainWindow>(m_store);
    m_window->graphWidget()->setMaximumWidth(0);
    EXPECT_FALSE(m_window->createSurface());
    ASSERT_EQ(m_prompts.boxes().size(), 1u);
    const auto box = m_prompts.boxes()[0];
    EXPECT_EQ(box.text, "Failed to Initialize Direct Draw");
    EXPECT_EQ(box.caption, "Direct Draw Init Failed!");
    EXPECT_EQ(box.type, ui::kMbOk | ui::kMbIconExclamation);
    EXPECT_TRUE(m_window->ending());
    // Ending is not a question: closing now asks nothing more.
    m_window->show();
    EXPECT_TRUE(m_window->close());
    EXPECT_EQ(m_prompts.boxes().size(), 1u);
}

TEST_F(AppTest, PaintingPresentsTheBufferStretchedOntoTheClientArea) {
    openWindow();
    m_window->graphWidget()->update();
    const int before = m_window->graphWidget()->presentCount();
    const QImage shown = m_window->graphWidget()->grab().toImage();
    EXPECT_GT(m_window->graphWidget()->presentCount(), before);
    EXPECT_TRUE(testing::isUniform(shown, kSetBackground));
}

}  // namespace
}  // namespace tevusb::app
