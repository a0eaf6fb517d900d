// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>

#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "support/wait.h"
#include "ui/scripted_prompts.h"

class QWidget;

namespace tevusb::ui::testing {

// A text buffer that several threads may write and one may read at the same time.
class LockedBuffer : public std::streambuf {
  public:
    std::string text() const;

  private:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

    mutable std::mutex m_mutex;
    std::string m_text;
};

// Diagnostic lines captured while it lives; safe to read while workers still write.
class LockedLog {
  public:
    LockedLog();
    ~LockedLog();
    LockedLog(const LockedLog&) = delete;
    LockedLog& operator=(const LockedLog&) = delete;

    std::string text() const { return m_buffer.text(); }
    bool contains(const std::string& part) const { return text().find(part) != std::string::npos; }

  private:
    LockedBuffer m_buffer;
    std::ostream m_stream{&m_buffer};
    std::ostream* m_previous;
};

using tevusb::testing::waitUntil;
// The name the chip-load tests know it by.
inline bool processEventsUntil(const std::function<bool()>& done,
                               int limitMs = tevusb::testing::kWaitLimitMs) {
    return waitUntil(done, limitMs);
}

// A simulated bus with one altimeter, the program's device on it, and a scripted user.
class DialogFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the bus; call before the dialog is created.
    void makeBus(const device::sim::SimConfig& config);
    static device::sim::SimConfig instant();

    device::sim::SimAltimeter& sim() { return m_backend->altimeter(); }

    std::shared_ptr<device::sim::SimBackend> m_backend;
    std::unique_ptr<device::AltimeterDevice> m_device;
    ScriptedPrompts m_prompts;
    LockedLog m_log;

  private:
    UserPrompts* m_previousPrompts = nullptr;
};

// Whether the control `id` of `dialog` is enabled / checked, and its text.
bool isEnabled(QWidget* control);
bool isChecked(QWidget* control);
QString textOf(QWidget* control);
void setTextOf(QWidget* control, const QString& text);
void click(QWidget* control);

// Saves a picture of `window` as `name`.png among the test screenshots.
void saveShot(QWidget* window, const QString& name);

}  // namespace tevusb::ui::testing
