// SPDX-License-Identifier: MIT
#include "app_fixture.h"

#include <QAction>

#include "app/graph_widget.h"
#include "app/main_menu.h"

namespace tevusb::app::testing {

void AppTest::SetUp() {
    ASSERT_TRUE(m_temp.isValid());
    m_previousPrompts = ui::setUserPrompts(&m_prompts);
}

void AppTest::TearDown() {
    m_window.reset();
    ui::setUserPrompts(m_previousPrompts);
}

void AppTest::openWindow(std::shared_ptr<device::sim::SimBackend> simulator) {
    m_window = std::make_unique<MainWindow>(m_store, std::move(simulator));
    m_window->resize(800, 600);
    ASSERT_TRUE(m_window->createSurface());
    m_window->show();
    // Showing delivers the size, and the settled size brings the set view.
    ASSERT_TRUE(waitUntil([&] { return bufferFitsClient() && logCount("Updating buffer.") >= 1; }));
}

void AppTest::trigger(int commandId) {
    QAction* action = menuAction(*m_window, commandId);
    ASSERT_NE(action, nullptr);
    action->trigger();
}

bool AppTest::bufferFitsClient() const {
    const QSize client = m_window->graphWidget()->size();
    return m_window->surface().hasBuffer() && m_window->surface().size() == client &&
           m_store.scale.width == client.width() && m_store.scale.height == client.height();
}

int AppTest::logCount(const std::string& line) const {
    return m_log.count(line);
}

bool isUniform(const QImage& image, unsigned pixel) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            if ((rgb.pixel(x, y) & 0x00FFFFFFu) != pixel) {
                return false;
            }
        }
    }
    return !rgb.isNull();
}

}  // namespace tevusb::app::testing
