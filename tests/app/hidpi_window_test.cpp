// SPDX-License-Identifier: MIT
// The main window's picture at the screen's device-pixel ratio. The app tests run at
// ratio 1; ctest runs these (and the report and print tests) again at QT_SCALE_FACTOR=2.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include "app/graph_widget.h"
#include "app/main_menu.h"
#include "app/view_menu.h"
#include "app/view_preferences.h"
#include "app_fixture.h"

namespace tevusb::app {
namespace {

using testing::AppTest;

struct HiDpiWindowTest : AppTest {
    void TearDown() override {
        AppTest::TearDown();
        ViewPreferences{}.save();
    }
    // The buffer is as fine as the screen, its size in units the client's, and the
    // widget shows it pixel for pixel.
    void expectShownAtTheScreensRatio() {
        GraphWidget* widget = m_window->graphWidget();
        const qreal ratio = widget->devicePixelRatioF();
        const QImage buffer = m_window->surface().snapshot();
        EXPECT_EQ(m_window->surface().devicePixelRatio(), ratio);
        EXPECT_EQ(m_window->surface().size(), widget->size());
        EXPECT_EQ(buffer.size(), widget->size() * ratio);
        const QImage shown = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.size(), buffer.size());
        EXPECT_TRUE(shown == buffer.convertToFormat(QImage::Format_RGB32));
    }
};

TEST_F(HiDpiWindowTest, BothViewsAreDrawnAtTheScreensRatioAndShownPixelForPixel) {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        // The second run must really be scaled, or it proves nothing.
        ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(),
                  qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    }
    openWindow();
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    ASSERT_GT(m_store.current.size(), 0u);
    expectShownAtTheScreensRatio();
    trigger(view_command::kAnalysisView);
    expectShownAtTheScreensRatio();
    // The readout takes points in units whatever the ratio.
    const QRect plot = m_window->graph().shownLayout().plot();
    EXPECT_EQ(m_window->graph().shownLayout().target().size(), m_window->graphWidget()->size());
    EXPECT_TRUE(m_window->graph().cursorAt(plot.center().x()).has_value());
}

}  // namespace
}  // namespace tevusb::app
