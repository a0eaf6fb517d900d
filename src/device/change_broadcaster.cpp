// SPDX-License-Identifier: MIT
#include "device/change_broadcaster.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <utility>

namespace tevusb::device {

#if defined(_WIN32)

// A window's event loop on Windows waits on messages, not on pipes: there the watcher's
// periodic comparison is what finds a change.
std::unique_ptr<ChangeNotifier> ChangeBroadcaster::createNotifier() {
    return nullptr;
}

void ChangeBroadcaster::notify() {}

#else

struct ChangeBroadcaster::Pipe {
    int readEnd = -1;
    int writeEnd = -1;

    Pipe() = default;
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        if (readEnd >= 0) {
            ::close(readEnd);
        }
        if (writeEnd >= 0) {
            ::close(writeEnd);
        }
    }

    bool make() {
        int fds[2];
        if (::pipe(fds) != 0) {
            return false;
        }
        readEnd = fds[0];
        writeEnd = fds[1];
        // Non-blocking both ways: a full pipe already says "changed", and a drain must
        // stop when it is empty.
        for (int fd : fds) {
            const int flags = ::fcntl(fd, F_GETFL);
            if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0 ||
                ::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
                return false;
            }
        }
        return true;
    }
};

class ChangeBroadcaster::PipeNotifier final : public ChangeNotifier {
  public:
    explicit PipeNotifier(std::shared_ptr<Pipe> pipe) : m_pipe(std::move(pipe)) {}
    int fd() const override { return m_pipe->readEnd; }
    void drain() override {
        char buffer[64];
        while (::read(m_pipe->readEnd, buffer, sizeof buffer) > 0) {
        }
    }

  private:
    std::shared_ptr<Pipe> m_pipe;
};

std::unique_ptr<ChangeNotifier> ChangeBroadcaster::createNotifier() {
    auto pipe = std::make_shared<Pipe>();
    if (!pipe->make()) {
        return nullptr;
    }
    std::lock_guard lock(m_mutex);
    std::erase_if(m_pipes, [](const std::weak_ptr<Pipe>& p) { return p.expired(); });
    m_pipes.push_back(pipe);
    return std::make_unique<PipeNotifier>(std::move(pipe));
}

void ChangeBroadcaster::notify() {
    std::lock_guard lock(m_mutex);
    for (const auto& weak : m_pipes) {
        if (auto pipe = weak.lock()) {
            const char byte = 1;
            // A full pipe (EAGAIN) is readable already, which is all a notifier needs.
            [[maybe_unused]] const auto written = ::write(pipe->writeEnd, &byte, 1);
        }
    }
}

#endif

}  // namespace tevusb::device
