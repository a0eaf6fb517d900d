// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cli/device_commands.h"
#include "cli/library_option.h"
#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace tevusb::testing {

// tevusb-cli's device commands on a fresh simulated altimeter with three flights, and a
// library folder of the test's own.
class CliDevice : public ::testing::Test {
  protected:
    // Downloads archive into the library too: keep that out of the user's own one.
    void SetUp() override {
        cli::setLibraryOption(m_library.path().string());
        plugIn();
    }
    void TearDown() override {
        cli::setLibraryOption(std::nullopt);
        device::theDevice().disconnect();
        device::setDeviceBackendFactory(nullptr);
    }

    // A fresh simulated altimeter with three flights and no delays.
    void plugIn() {
        device::sim::SimConfig config;
        config.timing = device::sim::SimTiming::instant();
        m_backend = std::make_shared<device::sim::SimBackend>(config);
        auto backend = m_backend;
        device::setDeviceBackendFactory([backend] { return backend; });
    }
    device::sim::SimAltimeter& altimeter() { return m_backend->altimeter(); }

    CliRun run(CliCommand command, std::vector<std::string> words) {
        CliRun result = runCli(command, std::move(words));
        device::theDevice().disconnect();
        return result;
    }

    // Downloads every flight into the library, so the altimeter holds nothing that an
    // erase would lose.
    void keepFlights() {
        const CliRun r = run(cli::runDownload, {});
        ASSERT_EQ(r.status, 0) << r.err;
    }

    std::shared_ptr<device::sim::SimBackend> m_backend;
    TempDir m_library;
};

}  // namespace tevusb::testing
