// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/altimeter_device.h"

namespace tevusb::device {

// The operations and status texts that both fronts (the dialogs and tevusb-cli) show the
// user, so the two never drift apart. Status entries are narrow strings that carry their
// own "\r\n" line ends, one entry per appendStatus call.
using StatusEntries = std::vector<std::string>;

inline constexpr const char* kAltimeterNotFound =
    "Altimeter not found. Make sure it is properly connected to the PC.\r\n";

// "1.50" for 0x0150, as a narrow string.
std::string versionString(std::uint16_t version);

// Connects in application mode and says what was found; the link is open afterwards
// only when an application-mode device with a compatible firmware answered.
StatusEntries connectCheckApplication(AltimeterDevice& device);
// The bootloader-mode counterpart used before a firmware update.
StatusEntries connectCheckBootloader(AltimeterDevice& device);

// What updateFirmware's result means to the user, line by line.
StatusEntries firmwareResultEntries(int result, const FirmwareVersions& versions);

// The pressure sensor read with the device's own calibration. The in-memory settings
// record is left exactly as it was, whatever happens.
struct PressureReading {
    bool settingsRead = false;
    bool adcRead = false;
    std::uint16_t count = 0;
    double voltage = 0.0;
    double pressure = 0.0;  // kPa
    double altitude = 0.0;  // metres above sea level
};
PressureReading readPressure(AltimeterDevice& device);
// "Current Voltage: 8.4 Volts\r\n" for a battery read in tenths of a volt.
std::string batteryEntry(std::uint16_t tenths);

// "\r\nCurrent ADC: …", voltage, pressure and altitude lines, or the failure entry.
StatusEntries pressureEntries(const PressureReading& reading);

// Calibration against a known ground altitude: clears the flight memory, reads the
// settings and the current ADC count, and writes the record's fields with the offset
// that makes the current count read as `groundAltitude`. `writeRoutine` performs the
// write (the dialog's also stores its controls first); it returns a negative value on
// failure. Entries are appended to `out` as they happen.
struct CalibrationResult {
    bool completed = false;
    int adcReal = 0;
    int adcDevice = 0;
};
CalibrationResult calibrate(AltimeterDevice& device, double groundAltitude,
                            const std::function<int()>& writeRoutine,
                            const std::function<void(const std::string&)>& out);

// The step a settings write stopped at: callers that show controls recover differently
// from a missing device than from a device that refused the clear.
enum class WriteStep { Done, NotConnected, ClearFailed, WriteFailed };

// Builds the record into its image and writes it: the device's flight memory is cleared
// first (the altimeter requires it). Returns 0, or -1 after the failure's entry; `step`
// (when given) receives where it ended.
int writeSettingsRoutine(AltimeterDevice& device,
                         const std::function<void(const std::string&)>& out,
                         WriteStep* step = nullptr);

// The download: the settings, then the flight memory into the store, with the status
// entries of each step. The settings read from the device are parsed at once when their
// checksum holds, so the flights shown, exported and saved right after a download all
// use the device's calibration; a record with a bad checksum is not taken (the previous
// one stays, and a warning entry says so) so that saved files stay loadable. A cancelled
// download leaves no partial image, also when the cancel came during the settings read.
// Returns readFlightMemory's result, or -1 when the
// device was not there or the settings could not be read.
int downloadFlights(AltimeterDevice& device, AltimeterDevice::ProgressCallback progress,
                    void* context, const std::function<void(const std::string&)>& out);

// Texts of the launch-emulation events ("" for a reply that shows nothing).
std::string emulationEventEntry(int replyCode, int samplesSent);

}  // namespace tevusb::device
