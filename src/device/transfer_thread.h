// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

#include "device/hid_backend.h"

namespace tevusb::device {

// Runs the transfers of one opened HID interface on a thread of its own, so that the
// caller's time limit holds whatever the backend does: a read or write that overruns it
// (hid_write has no limit at all) keeps only this thread busy, never the caller, and never
// touches the caller's buffer. The handle is used by this one thread only and released by
// it once stopped and idle.
class TransferThread {
  public:
    // Null when no thread could be started (the handle is then released at once).
    static std::unique_ptr<TransferThread> start(std::unique_ptr<HidHandle> handle);
    // Stops, then waits up to about 100 ms for the handle's release; a transfer stuck in
    // the backend is left to release it when it returns.
    ~TransferThread();

    TransferThread(const TransferThread&) = delete;
    TransferThread& operator=(const TransferThread&) = delete;

    // One input report, as the backend delivers it: its length, 0 when the time limit
    // passed, -1 on error or when stopped.
    int read(std::uint8_t* data, std::size_t length, int timeoutMs);
    // Discards input already queued (see HidLink), then sends one report: the bytes
    // written, or -1 on error, time-out or stop. A write whose time limit passed while it
    // waited behind an overrunning transfer is not sent at all.
    int write(const std::uint8_t* data, std::size_t length, int timeoutMs);
    // Any thread, never blocks: the transfer in flight and all later ones fail.
    void stop();

  private:
    struct Shared;
    struct Transfer;
    TransferThread() = default;
    int run(std::shared_ptr<Transfer> transfer, std::uint8_t* out, int timeoutMs);
    static void loop(std::shared_ptr<Shared> shared);
    static int perform(Shared& shared, Transfer& transfer);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

}  // namespace tevusb::device
