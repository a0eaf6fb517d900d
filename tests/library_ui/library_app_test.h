// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <memory>

#include "app/main_window.h"
#include "data/data_set_store.h"
#include "library_rig.h"
#include "ui/scripted_prompts.h"

namespace tevusb::app::libtest {

// The main window shown over a library of the test's own, questions answered by script
// and no recent files, as a flyer would start it.
class LibraryAppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().remove("recent");
        m_previous = ui::setUserPrompts(&prompts);
        window = std::make_unique<MainWindow>(store);
        window->resize(800, 600);
        window->show();
        ASSERT_TRUE(window->createSurface());
    }
    void TearDown() override {
        window.reset();
        ui::setUserPrompts(m_previous);
    }

    ui::libtest::LibraryRig lib;
    data::DataSetStore store;
    ui::ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> window;

  private:
    ui::UserPrompts* m_previous = nullptr;
};

}  // namespace tevusb::app::libtest
