#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "data/data_set_store.h"
#include "device/hid_link.h"

namespace tevusb::device {

// Which firmware a connect looks for.
enum class ConnectMode { Application, Bootloader };

// Results of the device operations (connect has its own meanings for some values).
namespace result {
inline constexpr int kSuccess = 0;
inline constexpr int kConnected = 1;
inline constexpr int kTimeout = -1;        // connect: no device
inline constexpr int kCancelled = -2;      // connect: found but could not be opened
inline constexpr int kProtocolError = -3;  // connect: none with the required version
inline constexpr int kSendFailed = -5;
}  // namespace result

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
    void disconnect();
    bool isBootloader() const;
    bool cancelRequested() const;

    bool sendMessage(std::uint16_t value, std::uint8_t code);
    bool receiveMessage(int timeoutMs, std::uint16_t& value, std::uint8_t& code);

private:
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_bootloader{false};
};

// The single instance every window uses. Its backend is hidapi unless the program was
// started with --simulator (selectSimulator before first use).
AltimeterDevice& theDevice();

std::wstring versionText(std::uint16_t version);
std::wstring versionPatternText(std::uint16_t version);

}  // namespace tevusb::device
