// SPDX-License-Identifier: MIT
#include "device/memory_operations.h"

#include "device/altimeter_device.h"
#include "device/status_texts.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

namespace {

struct PacketProgress {
    const Reporter* say;
};

// The protocol routine's callback, turned into the operation's progress.
void packetProgress(void* context, int packet, int inProgress, int beginsSet) {
    const auto* self = static_cast<PacketProgress*>(context);
    Progress step;
    step.index = packet;
    step.total = kFlightMemoryPackets;
    if (inProgress != 0) {
        step.kind = Progress::Kind::Word;
        step.done = packet;
        step.flag = beginsSet;
    } else {
        step.kind = Progress::Kind::Step;
        step.done = packet + 1;
        step.percent = step.done * 100 / kFlightMemoryPackets;
    }
    self->say->step(step);
}

}  // namespace

Operation<> downloadFlights(AltimeterDevice& device, const ProgressCallback& progress,
                            CancelFlag cancel) {
    Operation<> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    data::DataSetStore& store = device.store;
    store.packets.clear();
    // A request left from an earlier operation must not stop this one.
    device.clearCancel();
    say.entry("Attempting to connect to device.\r\n");
    if (!altimeterFound(device, op.result, say)) {
        return op;
    }
    say.entry("Altimeter found! Reading settings...\r\n");
    const settings::DeviceSettings previous = store.settings;
    op.result = toDeviceResult(device.readSettings());
    if (!op.ok()) {
        store.settings = previous;
        say.entry("Failed to read settings.\r\n");
        return op;
    }
    say.entry("Settings read successfully.\r\n");
    if (!store.settings.parse()) {
        store.settings = previous;
        say.entry("Checksum failed. The device settings are invalid.\r\n");
    }
    say.entry("Reading data...\r\n");
    // readFlightMemory starts by clearing the device's own request, so a close that came
    // during the settings read must be honoured here or it would be lost for the whole read.
    PacketProgress context{&say};
    op.result = device.cancelRequested()
                    ? DeviceResult::Cancelled
                    : toDeviceResult(device.readFlightMemory(&packetProgress, &context));
    log::logLine("Canceling IO");
    if (!op.ok()) {
        if (op.result == DeviceResult::Cancelled) {
            store.packets.clear();
            store.comments.clear();
            store.current.clear();
            store.fast.clear();
        }
        say.entry("Failed to read data.\r\n");
        return op;
    }
    log::logLine("Packets read: ", store.packets.size());
    say.entry("Data read successfully.\r\n");
    say.entry("Packets Read: " + std::to_string(store.packets.size()) + "\r\n");
    return op;
}

Operation<> clearMemory(AltimeterDevice& device, const ProgressCallback& progress,
                        CancelFlag cancel) {
    Operation<> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    if (!altimeterFound(device, op.result, say)) {
        return op;
    }
    op.result = toDeviceResult(device.clearMemory());
    if (!op.ok()) {
        say.entry("Failed to clear data.\r\n");
        return op;
    }
    device.store.packets.clear();
    say.entry("Data cleared successfully.\r\n");
    return op;
}

}  // namespace tevusb::device
