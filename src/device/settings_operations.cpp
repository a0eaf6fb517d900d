// SPDX-License-Identifier: MIT
#include "device/settings_operations.h"

#include "data/altitude_converter.h"
#include "data/setting_values.h"
#include "device/altimeter_device.h"
#include "device/status_texts.h"

namespace tevusb::device {

Operation<SettingsRead> readSettings(AltimeterDevice& device, BadChecksum badChecksum,
                                     const ProgressCallback& progress, CancelFlag cancel) {
    Operation<SettingsRead> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    settings::DeviceSettings& record = device.store.settings;
    say.entry("Attempting to connect to device.\r\n");
    if (!altimeterFound(device, op.result, say)) {
        return op;
    }
    say.entry("Altimeter found! Reading settings...\r\n");
    const settings::DeviceSettings previous = record;
    op.result = toDeviceResult(device.readSettings());
    if (!op.ok()) {
        record = previous;
        say.entry("Failed to read settings.\r\n");
        return op;
    }
    op.value.imageRead = true;
    op.value.checksumValid = record.parse();
    if (op.value.checksumValid) {
        say.entry("Settings read successfully.\r\n");
    } else {
        op.result = DeviceResult::ProtocolError;
        say.entry("Checksum failed. The device settings are invalid.\r\n");
        if (badChecksum == BadChecksum::UseDefaults) {
            say.entry("Displaying default settings.\r\n");
            record.setDefaults();
            record.parse();
        } else {
            record = previous;
        }
    }
    op.value.settings = record;
    return op;
}

Operation<WriteStep> writeSettings(AltimeterDevice& device, const ProgressCallback& progress,
                                   CancelFlag cancel) {
    Operation<WriteStep> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    device.store.settings.build();
    say.entry("Attempting to connect to device.\r\n");
    if (!altimeterFound(device, op.result, say)) {
        op.value = WriteStep::NotConnected;
        return op;
    }
    op.result = toDeviceResult(device.clearMemory());
    if (!op.ok()) {
        op.value = WriteStep::ClearFailed;
        say.entry("Failed to clear data.\r\n");
        return op;
    }
    say.entry("Altimeter found! Writing settings...\r\n");
    op.result = toDeviceResult(device.writeSettings());
    if (!op.ok()) {
        op.value = WriteStep::WriteFailed;
        say.entry("Failed to write settings.\r\n");
        return op;
    }
    say.entry("Settings written successfully.\r\n");
    device.store.settings.parse();
    op.value = WriteStep::Done;
    return op;
}

Operation<Calibration> calibrate(AltimeterDevice& device, double groundAltitude,
                                 const std::function<bool()>& beforeWrite,
                                 const ProgressCallback& progress, CancelFlag cancel) {
    Operation<Calibration> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    Calibration& res = op.value;
    if (!altimeterFound(device, op.result, say)) {
        return op;
    }
    op.result = toDeviceResult(device.clearMemory());
    if (!op.ok()) {
        say.entry("Failed to clear data.\r\n");
        return op;
    }
    say.entry("Calibrating...\r\n");
    const settings::DeviceSettings first = device.store.settings;
    op.result = toDeviceResult(device.readSettings());
    settings::DeviceSettings second = device.store.settings;  // new image, fields as before
    device.store.settings = first;
    if (!op.ok()) {
        say.entry("Failed to read settings.\r\n");
        return op;
    }
    std::uint16_t count = 0;
    op.result = toDeviceResult(device.readAdc(count));
    if (!op.ok()) {
        say.entry("Failed.\r\n");
        return op;
    }
    res.adcReal = data::AltitudeConverter(0).countForAltitude(groundAltitude);
    res.adcDevice = count;
    say.entry("ADC Real: " + std::to_string(res.adcReal) + "\r\n");
    say.entry("ADC Device: " + std::to_string(res.adcDevice) + "\r\n");
    say.entry("ADC Offset: " + std::to_string(res.adcReal - res.adcDevice) + "\r\n");
    // A reading far off the sensor's range would give an offset that wraps in the
    // settings' 16 bits and shifts every later altitude.
    if (!data::offsetFits(res.adcReal - res.adcDevice)) {
        op.result = DeviceResult::ProtocolError;
        say.entry("The offset does not fit the settings; nothing was written.\r\n");
        say.entry("Failed to calibrate.\r\n");
        return op;
    }
    second.adcOffset = res.adcReal - res.adcDevice;
    device.store.settings = second;
    if (beforeWrite && !beforeWrite()) {
        op.result = DeviceResult::Cancelled;
        say.entry("Failed to calibrate.\r\n");
        return op;
    }
    const Operation<WriteStep> write = writeSettings(device, progress, cancel);
    op.entries.insert(op.entries.end(), write.entries.begin(), write.entries.end());
    op.result = write.result;
    if (!write.ok()) {
        say.entry("Failed to calibrate.\r\n");
        return op;
    }
    say.entry("Calibration complete.\r\n");
    res.completed = true;
    return op;
}

}  // namespace tevusb::device
