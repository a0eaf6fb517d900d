// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "data/data_set_store.h"
#include "device/device_messages.h"
#include "device/device_result.h"
#include "device/firmware_update.h"
#include "device/hid_link.h"
#include "device/launch_emulation.h"
#include "device/operation.h"

namespace tevusb::device {

// Which firmware a connect looks for.
enum class ConnectMode { Application, Bootloader };

// The one program-wide device object: the link to the altimeter and everything the
// program knows of its flights (the store, with the settings and the graph's scale).
// Operations run to their end on the calling worker thread; the window thread only sets
// the cancel flag, reads isOpen/the bootloader flag, and closes the link on removal.
class AltimeterDevice {
  public:
    // (context, packet index, in progress, begins a set)
    using ProgressCallback = void (*)(void* context, int packet, int inProgress, int beginsSet);

    explicit AltimeterDevice(std::shared_ptr<HidBackend> backend);

    data::DataSetStore store;
    HidLink link;

    // 1 connected; -1 no device; -2 found but not openable; -3 none with the required
    // version. outVersion receives the version of the device found, if any.
    int connect(ConnectMode mode, std::uint16_t* outVersion = nullptr);
    bool reset();
    int readSettings();
    int writeSettings();
    int readFlightMemory(ProgressCallback progress, void* context);
    int clearMemory();
    int readAdc(std::uint16_t& value);
    int readBattery(std::uint16_t& value);
    int fireLines();
    void requestCancel();
    // Forgets a cancel request, at the start of an operation the user just asked for.
    void clearCancel();
    void disconnect();
    bool isBootloader() const;
    // The device's own request or the flag of the operation now running.
    bool cancelRequested() const;
    // Hands the running operation's cancel flag to the protocol routines (null: none);
    // returns the one it replaces. The operations do this for their own duration.
    CancelFlag setCallerCancel(CancelFlag flag) { return m_callerCancel.exchange(flag); }

    // Writes the firmware file at `path` through the bootloader (update_result codes).
    int updateFirmware(FirmwareProgressCallback progress, void* context,
                       const std::filesystem::path& path, FirmwareVersions& versions);
    // Replays the current set's ADC counts into the device; true when it ended properly.
    bool emulateLaunch(EmulationCallback callback, void* context);

    bool sendMessage(std::uint16_t value, std::uint8_t code);
    bool receiveMessage(int timeoutMs, std::uint16_t& value, std::uint8_t& code);

    // The shape the short commands share: reset, the command, an optional value reply,
    // the closing reply. A new short command needs only its code and an operation.
    int valueCommand(CommandCode command, std::uint16_t* value);

  private:
    int readClosingReply();
    int readPacket(int index, ProgressCallback progress, void* context);

    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_bootloader{false};
    std::atomic<CancelFlag> m_callerCancel{nullptr};
    std::array<std::uint8_t, kMessageSize> m_sendBuffer{};
    std::array<std::uint8_t, kMessageSize> m_receiveBuffer{};
};

// Lends an operation's cancel flag to the device for as long as the operation runs.
class CallerCancel {
  public:
    CallerCancel(AltimeterDevice& device, CancelFlag flag)
        : m_device(device), m_previous(device.setCallerCancel(flag)) {}
    ~CallerCancel() { m_device.setCallerCancel(m_previous); }
    CallerCancel(const CallerCancel&) = delete;
    CallerCancel& operator=(const CallerCancel&) = delete;

  private:
    AltimeterDevice& m_device;
    CancelFlag m_previous;
};

// The single instance every window uses, built on first use with a backend from the
// installed factory (hidapi for a real altimeter, the simulator with --simulator).
AltimeterDevice& theDevice();

// Installs where theDevice() gets its backend. Call it before first use; called later,
// it closes the link of the existing instance and gives it a fresh backend.
void setDeviceBackendFactory(std::function<std::shared_ptr<HidBackend>()> factory);

std::wstring versionText(std::uint16_t version);
std::wstring versionPatternText(std::uint16_t version);

}  // namespace tevusb::device
