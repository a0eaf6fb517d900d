#pragma once

namespace tevusb::device::sim {

// An eventfd that turns readable when the simulated bus changes (a device came, went or
// re-enumerated in another mode) and is drained by whoever watches it.
class EventNotifier {
  public:
    EventNotifier();
    ~EventNotifier();
    EventNotifier(const EventNotifier&) = delete;
    EventNotifier& operator=(const EventNotifier&) = delete;

    int fd() const { return m_fd; }
    void signal();
    void drain();

  private:
    int m_fd;
};

}  // namespace tevusb::device::sim
