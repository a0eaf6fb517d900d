// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::device {

// What a device operation came to. The numbers are the protocol's own and are kept where
// they are stored or compared; connect gives three of them a meaning of its own, named here
// so that no caller has to remember that "cancelled" also means "could not be opened".
enum class DeviceResult : int {
    Success = 0,
    Connected = 1,
    Timeout = -1,
    Cancelled = -2,
    ProtocolError = -3,  // a firmware update: also a file cut short
    TransferFailed = -4,
    SendFailed = -5,
    // The firmware update's own refusals.
    CannotOpenFile = -6,
    CannotOpenLink = -7,
    WrongFileVersion = -8,
    NotFirmwareFile = -9,  // wrong magic, or an image length past the image
    NotBootloader = -10,
    WrongBootloader = -11,
    WrongFirmware = -12,
    WrongHardware = -13,
    // Another program holds the altimeter for a write of its own.
    Busy = -14,
    // Connect's outcomes.
    NoDevice = Timeout,
    CouldNotOpen = Cancelled,
    WrongVersion = ProtocolError,
};

constexpr int value(DeviceResult result) {
    return static_cast<int>(result);
}

constexpr DeviceResult toDeviceResult(int code) {
    return static_cast<DeviceResult>(code);
}

// Success and Connected; every failure is negative.
constexpr bool succeeded(DeviceResult result) {
    return value(result) >= 0;
}

// The protocol routines' codes as plain numbers, for the routines below the operations.
namespace result {
inline constexpr int kSuccess = value(DeviceResult::Success);
inline constexpr int kConnected = value(DeviceResult::Connected);
inline constexpr int kTimeout = value(DeviceResult::Timeout);
inline constexpr int kCancelled = value(DeviceResult::Cancelled);
inline constexpr int kProtocolError = value(DeviceResult::ProtocolError);
inline constexpr int kSendFailed = value(DeviceResult::SendFailed);
}  // namespace result

// Results of the firmware update routine. Every failure ends the update at once; blocks
// already written stay written.
namespace update_result {
inline constexpr int kSuccess = value(DeviceResult::Success);
inline constexpr int kProtocolError = value(DeviceResult::ProtocolError);
inline constexpr int kTransferFailed = value(DeviceResult::TransferFailed);
inline constexpr int kCannotOpenFile = value(DeviceResult::CannotOpenFile);
inline constexpr int kCannotOpenLink = value(DeviceResult::CannotOpenLink);
inline constexpr int kWrongFileVersion = value(DeviceResult::WrongFileVersion);
inline constexpr int kNotFirmwareFile = value(DeviceResult::NotFirmwareFile);
inline constexpr int kNotBootloader = value(DeviceResult::NotBootloader);
inline constexpr int kWrongBootloader = value(DeviceResult::WrongBootloader);
inline constexpr int kWrongFirmware = value(DeviceResult::WrongFirmware);
inline constexpr int kWrongHardware = value(DeviceResult::WrongHardware);
}  // namespace update_result

}  // namespace tevusb::device
