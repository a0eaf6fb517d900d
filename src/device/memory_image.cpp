// SPDX-License-Identifier: MIT
#include "device/memory_image.h"

#include <utility>

#include "device/altimeter_device.h"
#include "device/status_texts.h"

namespace tevusb::device {

Operation<MemoryImage> readMemoryImage(AltimeterDevice& device, const ProgressCallback&,
                                       CancelFlag cancel) {
    Operation<MemoryImage> op;
    MemoryImage& image = op.value;
    const CallerCancel lent(device, cancel);
    data::DataSetStore& store = device.store;
    const settings::DeviceSettings settings = store.settings;
    std::vector<data::MemoryPacket> packets = std::move(store.packets);
    std::vector<std::string> comments = std::move(store.comments);
    data::FastSet fast = std::move(store.fast);
    store.fast.clear();

    op.result = toDeviceResult(device.readSettings());
    if (op.ok()) {
        image.settings = store.settings;
        image.settingsValid = image.settings.parse();
        // The packets decode with the device's own calibration, as a download does.
        if (image.settingsValid) {
            store.settings = image.settings;
        }
        op.result = toDeviceResult(device.readFlightMemory(nullptr, nullptr));
        image.packets = std::move(store.packets);
    }
    image.firmwareVersion = versionString(device.link.device().versionNumber);

    store.settings = settings;
    store.packets = std::move(packets);
    store.comments = std::move(comments);
    store.fast = std::move(fast);
    return op;
}

}  // namespace tevusb::device
