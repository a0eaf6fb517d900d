// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "device/altimeter_device.h"
#include "scripted_backend.h"

namespace tevusb::device::testing {
namespace {

// The one instance of the process: built on first use from the installed factory, and
// given a fresh backend when the factory changes afterwards.
TEST(TheDevice, UsesTheInstalledBackendAndFallsBackToNoDevice) {
    auto backend = std::make_shared<ScriptedBackend>();
    backend->devices = {applicationDevice()};
    setDeviceBackendFactory([backend] { return backend; });

    AltimeterDevice& device = theDevice();
    EXPECT_EQ(&device, &theDevice());
    EXPECT_EQ(device.connect(ConnectMode::Application), result::kConnected);

    setDeviceBackendFactory(nullptr);
    EXPECT_FALSE(device.link.isOpen());
    EXPECT_EQ(device.connect(ConnectMode::Application), result::kTimeout);
    EXPECT_EQ(&device, &theDevice());
}

}  // namespace
}  // namespace tevusb::device::testing
