// SPDX-License-Identifier: MIT
#include "device/device_watcher.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tevusb::device {

namespace {

constexpr int kFallbackWithNotifierMs = 2000;
constexpr int kFallbackWithoutNotifierMs = 250;

bool sameIdentity(const HidDeviceInfo& a, const HidDeviceInfo& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId &&
           a.versionNumber == b.versionNumber;
}

std::vector<HidDeviceInfo> onePerPath(std::vector<HidDeviceInfo> list) {
    std::unordered_set<std::string> seen;
    std::vector<HidDeviceInfo> unique;
    for (HidDeviceInfo& info : list) {
        if (seen.insert(info.path).second) {
            unique.push_back(std::move(info));
        }
    }
    return unique;
}

}  // namespace

struct DeviceWatcher::State {
    std::shared_ptr<HidBackend> backend;
    std::unique_ptr<ChangeNotifier> notifier;
    std::vector<HidDeviceInfo> known;
    bool haveBaseline = false;
};

DeviceWatcher::DeviceWatcher(std::shared_ptr<HidBackend> backend)
    : m_state(std::make_unique<State>()) {
    m_state->backend = std::move(backend);
    if (m_state->backend) {
        m_state->notifier = m_state->backend->createNotifier();
    }
}

DeviceWatcher::~DeviceWatcher() = default;

int DeviceWatcher::fd() const {
    return m_state->notifier ? m_state->notifier->fd() : -1;
}

int DeviceWatcher::fallbackIntervalMs() const {
    return m_state->notifier ? kFallbackWithNotifierMs : kFallbackWithoutNotifierMs;
}

std::vector<DeviceWatcher::Event> DeviceWatcher::poll() {
    if (!m_state->backend) {
        return {};
    }
    // Drain before enumerating: a change after this point triggers the next poll.
    if (m_state->notifier) {
        m_state->notifier->drain();
    }
    std::vector<HidDeviceInfo> present = onePerPath(m_state->backend->enumerate());
    std::vector<Event> events;
    if (m_state->haveBaseline) {
        std::unordered_map<std::string, const HidDeviceInfo*> now;
        for (const HidDeviceInfo& info : present) {
            now.emplace(info.path, &info);
        }
        std::unordered_map<std::string, const HidDeviceInfo*> before;
        for (const HidDeviceInfo& info : m_state->known) {
            before.emplace(info.path, &info);
            auto it = now.find(info.path);
            if (it == now.end() || !sameIdentity(info, *it->second)) {
                events.push_back({EventType::Removal, info});
            }
        }
        for (const HidDeviceInfo& info : present) {
            auto it = before.find(info.path);
            if (it == before.end() || !sameIdentity(info, *it->second)) {
                events.push_back({EventType::Arrival, info});
            }
        }
    }
    m_state->known = std::move(present);
    m_state->haveBaseline = true;
    return events;
}

}  // namespace tevusb::device
