// SPDX-License-Identifier: MIT
#include "device/preflight.h"

#include "data/data_set_store.h"
#include "device/memory_image.h"

namespace tevusb::device {

namespace {

constexpr int kSteps = 4;

bool stopped(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load();
}

PreflightResult failed(PreflightResult result, DeviceOutcome outcome, const std::string& doing) {
    result.outcome = outcome;
    if (outcome == DeviceOutcome::Cancelled) {
        result.entries.push_back("Pre-flight check cancelled.\r\n");
    } else {
        result.entries.push_back(
            "The altimeter stopped answering while " + doing +
            ": the check was not completed. Reconnect it and check again.\r\n");
    }
    return result;
}

}  // namespace

PreflightResult runPreflight(AltimeterDevice& device, const PreflightRequest& request,
                             const StepProgress& progress, const std::atomic<bool>* cancel) {
    const auto step = [&](int done, const char* what) {
        if (progress) {
            progress(done, kSteps, what);
        }
    };
    PreflightResult result;
    step(0, "Connecting");
    std::uint16_t version = 0;
    const int connected = device.connect(ConnectMode::Application, &version);
    if (connected == result::kProtocolError) {
        // The altimeter is there but runs firmware this program does not talk to: that is
        // the answer of the check, not a failure to make it.
        result.outcome = DeviceOutcome::Done;
        result.report = firmwareRefused(request.profile, version);
        result.entries.push_back("Device found, but has incompatible firmware version.\r\n");
        return result;
    }
    if (connected != result::kConnected) {
        result.entries = connectApplication(device).entries;
        result.outcome = DeviceOutcome::NoDevice;
        return result;
    }
    result.altimeter = device.link.device().path;
    result.entries.push_back("Device Connected.\r\n");
    if (stopped(cancel)) {
        return failed(std::move(result), DeviceOutcome::Cancelled, "");
    }

    step(1, "Reading the settings and the flight memory");
    Operation<MemoryImage> read = readMemoryImage(device);
    MemoryImage image = std::move(read.value);
    if (!read.ok()) {
        return failed(std::move(result), DeviceOutcome::DeviceError,
                      "reading the settings and the flight memory");
    }
    if (stopped(cancel)) {
        return failed(std::move(result), DeviceOutcome::Cancelled, "");
    }

    step(2, "Reading the battery");
    PreflightReadings readings;
    if (device.readBattery(readings.batteryTenths) != result::kSuccess) {
        return failed(std::move(result), DeviceOutcome::DeviceError, "reading the battery");
    }
    if (stopped(cancel)) {
        return failed(std::move(result), DeviceOutcome::Cancelled, "");
    }

    step(3, "Reading the pressure");
    const PressureReading pressure = readPressure(device).value;
    if (!pressure.adcRead) {
        return failed(std::move(result), DeviceOutcome::DeviceError, "reading the pressure");
    }

    readings.settings = image.settings;
    readings.settingsValid = image.settingsValid;
    readings.firmwareVersion = version;
    readings.pressureKpa = pressure.pressure;
    readings.groundMslM = pressure.altitude;
    readings.packetsUsed = static_cast<int>(image.packets.size());
    data::DataSetStore sets;
    sets.packets = image.packets;
    readings.setCount = sets.setCount();
    const KeptAnswer kept = request.keptFlights ? request.keptFlights(image.packets)
                                                : KeptAnswer{0, "no library was given"};
    result.report = assessPreflight(readings, request.profile, kept);
    result.settings = image.settings;
    result.packets = std::move(image.packets);
    result.outcome = DeviceOutcome::Done;
    step(kSteps, "Done");
    return result;
}

}  // namespace tevusb::device
