// SPDX-License-Identifier: MIT
#include "device/flight_operations.h"

#include "device/altimeter_device.h"
#include "device/status_texts.h"

namespace tevusb::device {

namespace {

struct EventContext {
    const Reporter* say;
    int total;
};

void emulationEvent(void* context, int replyCode, int samplesSent) {
    const auto* self = static_cast<EventContext*>(context);
    Progress event;
    event.kind = Progress::Kind::Event;
    event.entry = emulationEventEntry(replyCode, samplesSent);
    event.flag = replyCode;
    event.done = samplesSent;
    event.total = self->total;
    event.percent = self->total > 0 ? samplesSent * 100 / self->total : 0;
    self->say->step(event);
}

void firmwareBlock(void* context, int block, int highestBlock) {
    Progress step;
    step.kind = Progress::Kind::Step;
    step.index = block;
    step.done = block + 1;
    step.total = highestBlock + 1;
    step.percent = highestBlock == 0 ? 100 : block * 100 / highestBlock;
    static_cast<const Reporter*>(context)->step(step);
}

}  // namespace

Operation<EmulationOutcome> emulateLaunch(AltimeterDevice& device, const ProgressCallback& progress,
                                          CancelFlag cancel) {
    Operation<EmulationOutcome> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    say.entry("Emulating...\r\n");
    EventContext context{&say, device.store.readingCount()};
    const bool ok = device.emulateLaunch(&emulationEvent, &context);
    op.value.cancelled = device.cancelRequested();
    op.result = ok ? DeviceResult::Success : DeviceResult::ProtocolError;
    say.entry(ok ? "Done.\r\n" : "Failed.\r\n");
    return op;
}

Operation<FirmwareVersions> updateFirmware(AltimeterDevice& device,
                                           const std::filesystem::path& path,
                                           const ProgressCallback& progress, CancelFlag) {
    Operation<FirmwareVersions> op;
    Reporter say(op.entries, progress);
    if (!altimeterFound(device, op.result, say)) {
        return op;
    }
    say.entry("Updating firmware...\r\n");
    op.result = toDeviceResult(device.updateFirmware(&firmwareBlock, &say, path, op.value));
    say.entries(firmwareResultEntries(op.result, op.value));
    return op;
}

}  // namespace tevusb::device
