// SPDX-License-Identifier: MIT
#include "device/transfer_thread.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

namespace tevusb::device {

namespace {

using Clock = std::chrono::steady_clock;

// A read is handed to the backend in slices this long, so that a stop is noticed promptly
// even by a backend that sleeps out its whole time limit. A report that arrives ends the
// slice at once, so slicing costs no latency.
constexpr int kSliceMs = 20;
// How long a caller waits past its limit for a transfer the backend has already begun,
// so that a report taken at the very end of the limit is delivered, not lost.
constexpr auto kGrace = std::chrono::milliseconds(50);
// How long the destructor waits for the handle to be released.
constexpr auto kReleaseWait = std::chrono::milliseconds(100);
// Bound on the input thrown away before one write, against a device that never stops
// talking.
constexpr int kMaxDiscard = 256;

int millisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 1'000'000'000));
}

}  // namespace

struct TransferThread::Transfer {
    enum class Kind { Read, Write };
    Kind kind;
    std::vector<std::uint8_t> data;
    Clock::time_point deadline;
    bool started = false;
    bool done = false;
    int result = -1;
};

struct TransferThread::Shared {
    std::mutex mutex;
    std::condition_variable wake;     // to the thread: a transfer is queued, or stop
    std::condition_variable changed;  // to callers: a transfer ended, or the thread did
    std::shared_ptr<Transfer> pending;
    bool stopping = false;
    bool finished = false;
    std::atomic<bool> stopFlag{false};  // read by the thread between backend calls
    std::unique_ptr<HidHandle> handle;  // touched by the thread only
};

std::unique_ptr<TransferThread> TransferThread::start(std::unique_ptr<HidHandle> handle) {
    if (!handle) {
        return nullptr;
    }
    std::unique_ptr<TransferThread> self(new TransferThread());
    self->m_shared = std::make_shared<Shared>();
    self->m_shared->handle = std::move(handle);
    try {
        self->m_thread = std::thread(&TransferThread::loop, self->m_shared);
    } catch (const std::system_error&) {
        return nullptr;
    }
    return self;
}

TransferThread::~TransferThread() {
    stop();
    bool finished = false;
    {
        std::unique_lock lock(m_shared->mutex);
        finished =
            m_shared->changed.wait_for(lock, kReleaseWait, [this] { return m_shared->finished; });
    }
    if (finished) {
        m_thread.join();
    } else {
        // Stuck in the backend: it owns what it uses (the shared state and the handle)
        // and releases the handle itself when the backend returns.
        m_thread.detach();
    }
}

void TransferThread::stop() {
    std::lock_guard lock(m_shared->mutex);
    m_shared->stopping = true;
    m_shared->stopFlag = true;
    m_shared->wake.notify_all();
    m_shared->changed.notify_all();
}

int TransferThread::read(std::uint8_t* data, std::size_t length, int timeoutMs) {
    auto transfer = std::make_shared<Transfer>();
    transfer->kind = Transfer::Kind::Read;
    transfer->data.assign(length, 0);
    return run(std::move(transfer), data, timeoutMs);
}

int TransferThread::write(const std::uint8_t* data, std::size_t length, int timeoutMs) {
    auto transfer = std::make_shared<Transfer>();
    transfer->kind = Transfer::Kind::Write;
    transfer->data.assign(data, data + length);
    return run(std::move(transfer), nullptr, timeoutMs);
}

int TransferThread::run(std::shared_ptr<Transfer> transfer, std::uint8_t* out, int timeoutMs) {
    const int timedOut = transfer->kind == Transfer::Kind::Read ? 0 : -1;
    transfer->deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    std::unique_lock lock(m_shared->mutex);
    // Transfers are sequential; only a second caller racing the first would wait here.
    if (!m_shared->changed.wait_until(lock, transfer->deadline, [this] {
            return m_shared->stopping || !m_shared->pending;
        })) {
        return timedOut;
    }
    if (m_shared->stopping) {
        return -1;
    }
    m_shared->pending = transfer;
    m_shared->wake.notify_all();
    m_shared->changed.wait_until(lock, transfer->deadline + kGrace,
                                 [&] { return m_shared->stopping || transfer->done; });
    if (transfer->done && !m_shared->stopping) {
        if (out != nullptr && transfer->result > 0) {
            std::memcpy(
                out, transfer->data.data(),
                std::min(transfer->data.size(), static_cast<std::size_t>(transfer->result)));
        }
        return transfer->result;
    }
    if (m_shared->pending == transfer) {
        // Never begun (an earlier transfer overran): it must not run after we gave up.
        m_shared->pending.reset();
    }
    return m_shared->stopping ? -1 : timedOut;
}

void TransferThread::loop(std::shared_ptr<Shared> shared) {
    for (;;) {
        std::shared_ptr<Transfer> transfer;
        {
            std::unique_lock lock(shared->mutex);
            shared->wake.wait(lock, [&] { return shared->stopping || shared->pending; });
            if (shared->stopping) {
                break;
            }
            transfer = std::move(shared->pending);
            transfer->started = true;
        }
        const int result = perform(*shared, *transfer);
        std::lock_guard lock(shared->mutex);
        transfer->result = result;
        transfer->done = true;
        shared->changed.notify_all();
    }
    shared->handle.reset();
    std::lock_guard lock(shared->mutex);
    shared->finished = true;
    shared->changed.notify_all();
}

int TransferThread::perform(Shared& shared, Transfer& transfer) {
    HidHandle& handle = *shared.handle;
    if (transfer.kind == Transfer::Kind::Read) {
        for (;;) {
            if (shared.stopFlag) {
                return -1;
            }
            const int left = millisecondsUntil(transfer.deadline);
            const int got =
                handle.read(transfer.data.data(), transfer.data.size(), std::min(left, kSliceMs));
            if (got != 0) {
                return got;
            }
            if (Clock::now() >= transfer.deadline) {
                return 0;
            }
        }
    }
    std::uint8_t scratch[256];
    for (int i = 0; i < kMaxDiscard; ++i) {
        if (shared.stopFlag || handle.read(scratch, sizeof scratch, 0) <= 0) {
            break;
        }
    }
    if (shared.stopFlag || Clock::now() >= transfer.deadline) {
        return -1;
    }
    return handle.write(transfer.data.data(), transfer.data.size(),
                        std::max(millisecondsUntil(transfer.deadline), 1));
}

}  // namespace tevusb::device
