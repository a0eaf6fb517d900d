// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "data/data_set_store.h"
#include "support/log_capture.h"
#include "support/wait.h"
#include "ui/scripted_prompts.h"

namespace tevusb::app::testing {

using tevusb::testing::waitUntil;

// Every question answered by a script, the diagnostic lines captured, and a main window
// on a store of its own, shown at a normal size with its buffer built.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window (with the simulator's menu when `simulator` is given) and shows it
    // at 800 x 600 with a buffer of its client size.
    void openWindow(std::shared_ptr<device::sim::SimBackend> simulator = nullptr);
    void trigger(int commandId);
    // True when the buffer has been rebuilt at the graph's present size.
    bool bufferFitsClient() const;
    // Counts the log lines equal to `line`.
    int logCount(const std::string& line) const;
    std::string logText() const { return m_log.text(); }
    QString tempPath(const QString& name) const { return m_temp.filePath(name); }

    data::DataSetStore m_store;
    ui::ScriptedPrompts m_prompts;
    std::unique_ptr<MainWindow> m_window;

  private:
    ui::UserPrompts* m_previousPrompts = nullptr;
    tevusb::testing::LogCapture m_log;
    QTemporaryDir m_temp;
};

// True when every pixel of `image` is `pixel` (0x00RRGGBB).
bool isUniform(const QImage& image, unsigned pixel);

inline constexpr unsigned kSetBackground = 0x00B4B4FF;

}  // namespace tevusb::app::testing
