// SPDX-License-Identifier: MIT
#include "device/value_operations.h"

#include "data/altitude_converter.h"
#include "device/altimeter_device.h"
#include "device/status_texts.h"
#include "log/diagnostic_log.h"

namespace tevusb::device {

namespace {

std::string number(double v) {
    return log::DiagnosticLog::numberText(v);
}

}  // namespace

Operation<PressureReading> readPressure(AltimeterDevice& device, const ProgressCallback& progress,
                                        CancelFlag cancel) {
    Operation<PressureReading> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    PressureReading& reading = op.value;
    const settings::DeviceSettings kept = device.store.settings;
    int adcOffset = 0;
    op.result = toDeviceResult(device.readSettings());
    if (op.ok()) {
        reading.settingsRead = true;
        device.store.settings.parse();
        adcOffset = device.store.settings.adcOffset;
    }
    device.store.settings = kept;
    if (!reading.settingsRead) {
        say.entry("Failed to read settings.\r\n");
        return op;
    }
    std::uint16_t count = 0;
    op.result = toDeviceResult(device.readAdc(count));
    if (!op.ok()) {
        say.entry("Failed.\r\n");
        return op;
    }
    log::logLine("ADC: 0x", log::Hex{count});
    const data::AltitudeConverter converter(adcOffset);
    reading.adcRead = true;
    reading.count = count;
    reading.voltage = converter.voltage(count);
    reading.pressure = converter.pressure(count);
    reading.altitude = converter.altitude(count);
    say.entry("\r\nCurrent ADC: " + std::to_string(reading.count) + "\r\n");
    say.entry("Current Voltage: " + number(reading.voltage) + " Volts\r\n");
    say.entry("Current Pressure: " + number(reading.pressure) + " kPa\r\n");
    say.entry("Current MSL Altitude: " + number(reading.altitude) + " Meters\r\n");
    return op;
}

Operation<BatteryReading> readBattery(AltimeterDevice& device, const ProgressCallback& progress,
                                      CancelFlag cancel) {
    Operation<BatteryReading> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    op.result = toDeviceResult(device.readBattery(op.value.tenths));
    if (!op.ok()) {
        say.entry("Failed.\r\n");
        return op;
    }
    op.value.volts = op.value.tenths / 10.0;
    say.entry(batteryEntry(op.value.tenths));
    return op;
}

Operation<> fireLines(AltimeterDevice& device, const ProgressCallback& progress,
                      CancelFlag cancel) {
    Operation<> op;
    Reporter say(op.entries, progress);
    const CallerCancel lent(device, cancel);
    say.entry("Firing both lines for 2 seconds...\r\n");
    op.result = toDeviceResult(device.fireLines());
    say.entry(op.ok() ? "Done.\r\n" : "Failed.\r\n");
    return op;
}

}  // namespace tevusb::device
