// SPDX-License-Identifier: MIT
#include "device/preflight.h"

#include "data/data_set_store.h"
#include "device/memory_image.h"

namespace tevusb::device {

namespace {

constexpr int kSteps = 4;

bool stopped(CancelFlag cancel) {
    return cancel != nullptr && cancel->load();
}

Operation<PreflightCheck> failed(Operation<PreflightCheck> check, DeviceResult result,
                                 const std::string& doing) {
    check.result = result;
    if (result == DeviceResult::Cancelled) {
        check.entries.push_back("Pre-flight check cancelled.\r\n");
    } else {
        check.entries.push_back("The altimeter stopped answering while " + doing +
                                ": the check was not completed. Reconnect it and check again.\r\n");
    }
    return check;
}

}  // namespace

Operation<PreflightCheck> runPreflight(AltimeterDevice& device, const PreflightRequest& request,
                                       const ProgressCallback& progress, CancelFlag cancel) {
    const auto step = [&](int done, const char* what) {
        if (progress) {
            progress({Progress::Kind::Step, what, done, done, kSteps, done * 100 / kSteps});
        }
    };
    Operation<PreflightCheck> check;
    step(0, "Connecting");
    std::uint16_t version = 0;
    const int connected = device.connect(ConnectMode::Application, &version);
    if (connected == result::kProtocolError) {
        // The altimeter is there but runs firmware this program does not talk to: that is
        // the answer of the check, not a failure to make it.
        check.value.report = firmwareRefused(request.profile, version);
        check.entries.push_back("Device found, but has incompatible firmware version.\r\n");
        return check;
    }
    if (connected != result::kConnected) {
        Operation<ConnectInfo> said = connectApplication(device);
        check.result = said.ok() ? DeviceResult::NoDevice : said.result;
        check.entries = std::move(said.entries);
        return check;
    }
    check.value.altimeter = device.link.device().path;
    check.entries.push_back("Device Connected.\r\n");
    if (stopped(cancel)) {
        return failed(std::move(check), DeviceResult::Cancelled, "");
    }

    step(1, "Reading the settings and the flight memory");
    Operation<MemoryImage> read = readMemoryImage(device);
    MemoryImage image = std::move(read.value);
    if (!read.ok()) {
        return failed(std::move(check), DeviceResult::ProtocolError,
                      "reading the settings and the flight memory");
    }
    if (stopped(cancel)) {
        return failed(std::move(check), DeviceResult::Cancelled, "");
    }

    step(2, "Reading the battery");
    PreflightReadings readings;
    if (device.readBattery(readings.batteryTenths) != result::kSuccess) {
        return failed(std::move(check), DeviceResult::ProtocolError, "reading the battery");
    }
    if (stopped(cancel)) {
        return failed(std::move(check), DeviceResult::Cancelled, "");
    }

    step(3, "Reading the pressure");
    const PressureReading pressure = readPressure(device).value;
    if (!pressure.adcRead) {
        return failed(std::move(check), DeviceResult::ProtocolError, "reading the pressure");
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
    check.value.report = assessPreflight(readings, request.profile, kept);
    check.value.settings = image.settings;
    check.value.packets = std::move(image.packets);
    step(kSteps, "Done");
    return check;
}

}  // namespace tevusb::device
