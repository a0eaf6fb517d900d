// SPDX-License-Identifier: MIT
#include "data/data_set_store.h"

#include "data/reading.h"
#include "log/diagnostic_log.h"

namespace tevusb::data {

using log::logLine;

int DataSetStore::setCount() const {
    int n = 0;
    for (const auto& packet : packets) {
        n += packet.beginsSet() ? 1 : 0;
    }
    return n;
}

int DataSetStore::setAddress(int k) const {
    if (k < 0) {
        return -1;
    }
    int seen = 0;
    for (std::size_t i = 0; i < packets.size(); ++i) {
        if (packets[i].beginsSet()) {
            if (seen == k) {
                return static_cast<int>(i);
            }
            ++seen;
        }
    }
    return -1;
}

int DataSetStore::packetCount(int k) const {
    const int a = setAddress(k);
    logLine("Set: ", k);
    logLine("Set Address: ", a);
    if (a < 0) {
        return 0;
    }
    const int size = static_cast<int>(packets.size());
    for (int i = a; i < size; ++i) {
        const auto& packet = packets[static_cast<std::size_t>(i)];
        if ((packet.beginsSet() && i != a) || packet.isErased()) {
            return i - a;
        }
    }
    return size - a;
}

int DataSetStore::setIndexOfPacket(int p) const {
    if (p < 0 || p >= static_cast<int>(packets.size())) {
        return -1;
    }
    int starts = 0;
    for (int i = 0; i <= p; ++i) {
        starts += packets[static_cast<std::size_t>(i)].beginsSet() ? 1 : 0;
    }
    return starts - 1;
}

bool DataSetStore::selectSet(int k) {
    if (k == -1) {
        return false;
    }
    current.clear();
    current.setIndex = k;
    const int a = setAddress(k);
    if (a == -1) {
        return true;
    }
    for (std::size_t p = static_cast<std::size_t>(a); p < packets.size(); ++p) {
        const auto& packet = packets[p];
        if (p != static_cast<std::size_t>(a) && packet.beginsSet()) {
            break;
        }
        for (int j = 0; j < MemoryPacket::kWordCount; ++j) {
            const std::uint16_t word = packet.reading(j);
            if (word == reading::kEmptySlot) {
                break;
            }
            current.adcCounts.push_back(reading::count(word));
            current.lineFlags.push_back(reading::lineFlags(word));
        }
    }
    current.deriveSeries(settings.adcOffset);
    return true;
}

int DataSetStore::indexOfMaximum(const std::vector<double>& series) const {
    if (current.size() == 0 || series.empty()) {
        return -1;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < series.size(); ++i) {
        if (series[best] < series[i]) {
            best = i;
        }
    }
    return static_cast<int>(best);
}

int DataSetStore::readingCount() const {
    return static_cast<int>(current.size());
}

std::string DataSetStore::comment(int k) const {
    if (k < 0 || static_cast<std::size_t>(k) >= comments.size()) {
        return {};
    }
    return comments[static_cast<std::size_t>(k)];
}

void DataSetStore::setComment(int k, std::string text) {
    if (k < 0 || static_cast<std::size_t>(k) >= comments.size()) {
        return;
    }
    comments[static_cast<std::size_t>(k)] = std::move(text);
}

}  // namespace tevusb::data
