// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "device/altimeter_device.h"
#include "scripted_backend.h"
#include "support/log_capture.h"

namespace tevusb::device::testing {

using tevusb::testing::LogCapture;

// A device object over a scripted backend, connected in the given mode before the
// conversation under test is scripted.
class DeviceTest : public ::testing::Test {
  protected:
    void connectApplication() {
        backend->devices = {applicationDevice()};
        ASSERT_EQ(device.connect(ConnectMode::Application), result::kConnected);
    }
    void connectBootloader() {
        backend->devices = {bootloaderDevice()};
        ASSERT_EQ(device.connect(ConnectMode::Bootloader), result::kConnected);
    }
    // Every scripted step played, nothing off-script.
    void expectConversationDone() {
        EXPECT_TRUE(backend->faults().empty()) << backend->faults().front();
        EXPECT_EQ(backend->pending(), 0u);
    }

    std::shared_ptr<ScriptedBackend> backend = std::make_shared<ScriptedBackend>();
    AltimeterDevice device{backend};
    LogCapture log;
};

inline std::uint8_t c(CommandCode command) {
    return code(command);
}
inline std::uint8_t c(ReplyCode reply) {
    return code(reply);
}

}  // namespace tevusb::device::testing
