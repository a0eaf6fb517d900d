// SPDX-License-Identifier: MIT
#include "device/connect_operations.h"

#include "device/altimeter_device.h"
#include "device/status_texts.h"

namespace tevusb::device {

namespace {

constexpr const char* kUsedElsewhere =
    "Please ensure it is not being used by another application.\r\n"
    "Removing the device and re-attaching it should correct this.\r\n";

}  // namespace

Operation<ConnectInfo> connectApplication(AltimeterDevice& device, const ProgressCallback& progress,
                                          CancelFlag) {
    Operation<ConnectInfo> op;
    Reporter say(op.entries, progress);
    op.result = toDeviceResult(device.connect(ConnectMode::Application, &op.value.version));
    switch (op.result) {
        case DeviceResult::CouldNotOpen:
            say.entry(std::string("Device found. Unable to connect to device.\r\n") +
                      kUsedElsewhere);
            break;
        case DeviceResult::NoDevice:
            device.connect(ConnectMode::Bootloader);
            if (device.link.isOpen() && device.isBootloader()) {
                device.disconnect();
                say.entry("Device found, but is in bootloader mode.\r\n");
                say.entry("Please reconnect the device.\r\n");
            } else {
                say.entry(kDeviceNotFound);
            }
            break;
        case DeviceResult::WrongVersion:
            say.entry("Device found, but has incompatible firmware version.\r\n");
            say.entry("Current device firmware version: " + versionString(op.value.version) +
                      "\r\n");
            say.entry("Required device firmware version: " +
                      versionString(kRequiredFirmwareVersion) + "\r\n");
            break;
        default:
            say.entry("Device Connected.\r\n");
            say.entry("Current device firmware version: " + versionString(op.value.version) +
                      "\r\n");
            break;
    }
    return op;
}

Operation<ConnectInfo> connectBootloader(AltimeterDevice& device, const ProgressCallback& progress,
                                         CancelFlag) {
    Operation<ConnectInfo> op;
    Reporter say(op.entries, progress);
    op.result = toDeviceResult(device.connect(ConnectMode::Bootloader, &op.value.version));
    switch (op.result) {
        case DeviceResult::CouldNotOpen:
            say.entry(
                std::string("Device found in bootloader mode. Unable to connect to device.\r\n") +
                kUsedElsewhere);
            break;
        case DeviceResult::NoDevice: {
            const int app = device.connect(ConnectMode::Application);
            if (app == result::kProtocolError || (device.link.isOpen() && !device.isBootloader())) {
                device.disconnect();
                say.entry("Device found, but is not in bootloader mode.\r\n");
                say.entry("Please reconnect the device in bootloader mode.\r\n");
            } else {
                say.entry(kDeviceNotFound);
            }
            break;
        }
        case DeviceResult::WrongVersion:
            say.entry(
                "Device found in bootloader mode, but has incompatible bootloader version.\r\n");
            say.entry("Current device bootloader version: " + versionString(op.value.version) +
                      "\r\n");
            say.entry("Required device bootloader version: " +
                      versionString(kRequiredBootloaderVersion) + "\r\n");
            break;
        default:
            say.entry("Device connected in bootloader mode.\r\n");
            say.entry("Device bootloader version: " + versionString(op.value.version) + "\r\n");
            break;
    }
    return op;
}

Operation<> resetDevice(AltimeterDevice& device, const ProgressCallback&, CancelFlag) {
    Operation<> op;
    op.result = device.reset() ? DeviceResult::Success : DeviceResult::SendFailed;
    return op;
}

}  // namespace tevusb::device
