// SPDX-License-Identifier: MIT
#include "device/sim/notifier_hub.h"

#if !defined(_WIN32)
#include <sys/eventfd.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdint>

namespace tevusb::device::sim {

#if defined(_WIN32)

// No eventfd on Windows, and a window's event loop waits on messages there: the
// watcher's periodic comparison finds the simulated bus's changes.
struct NotifierHub::Channel {};

std::unique_ptr<ChangeNotifier> NotifierHub::createNotifier() {
    return nullptr;
}

void NotifierHub::signal() {}

#else

struct NotifierHub::Channel {
    explicit Channel(int descriptor) : fd(descriptor) {}
    ~Channel() { ::close(fd); }
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    void signal() const {
        const std::uint64_t one = 1;
        // Only a counter at its maximum refuses the write, and it is readable then.
        [[maybe_unused]] const auto written = ::write(fd, &one, sizeof one);
    }

    const int fd;
};

namespace {

template <typename Channel>
class EventFdNotifier : public ChangeNotifier {
  public:
    explicit EventFdNotifier(std::shared_ptr<Channel> channel) : m_channel(std::move(channel)) {}

    int fd() const override { return m_channel->fd; }
    void drain() override {
        std::uint64_t count = 0;
        // Non-blocking: an empty counter just leaves nothing to read.
        [[maybe_unused]] const auto got = ::read(m_channel->fd, &count, sizeof count);
    }

  private:
    std::shared_ptr<Channel> m_channel;
};

}  // namespace

std::unique_ptr<ChangeNotifier> NotifierHub::createNotifier() {
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    auto channel = std::make_shared<Channel>(fd);
    std::lock_guard lock(m_mutex);
    std::erase_if(m_channels, [](const std::weak_ptr<Channel>& c) { return c.expired(); });
    m_channels.push_back(channel);
    return std::make_unique<EventFdNotifier<Channel> >(std::move(channel));
}

void NotifierHub::signal() {
    std::lock_guard lock(m_mutex);
    for (const auto& weak : m_channels) {
        if (const auto channel = weak.lock()) {
            channel->signal();
        }
    }
}

#endif

}  // namespace tevusb::device::sim
