// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "device/device_result.h"

namespace tevusb::device {

// Status entries are narrow strings that carry their own "\r\n" line ends, one entry per
// line group the dialogs append at once; the command line prints them as plain lines.
using StatusEntries = std::vector<std::string>;

// What an operation tells its caller while it runs. Every status entry is reported the
// moment it is made (and kept in the result too), so a front can show the lines in order
// beside its own; steps say how far a long operation got.
struct Progress {
    enum class Kind {
        Entry,  // `entry` was just added to the result's entries
        Word,   // download: a word of packet `index` arrived; `flag` when it begins a set
        Step,   // packet, block or sample `index` is done: `done` of `total`, `percent`
        Event,  // launch emulation: reply `flag` came after `done` samples; `entry` its text
    };
    Kind kind = Kind::Entry;
    std::string entry;
    int index = 0;
    int done = 0;
    int total = 0;
    int percent = 0;
    int flag = 0;
};
using ProgressCallback = std::function<void(const Progress&)>;

// Set by any thread to ask the operation to stop at its next step; never cleared by it.
using CancelFlag = const std::atomic<bool>*;

struct NoValue {};

// Every operation's answer: how it ended, what it said (in order), and what it read.
template <class T = NoValue>
struct Operation {
    DeviceResult result = DeviceResult::Success;
    StatusEntries entries;
    T value{};

    bool ok() const { return succeeded(result); }
};

// The operations' side of a progress callback: keeps the entries and reports each one.
class Reporter {
  public:
    Reporter(StatusEntries& entries, const ProgressCallback& progress)
        : m_entries(entries), m_progress(progress) {}

    void entry(std::string text) {
        m_entries.push_back(text);
        if (m_progress) {
            m_progress({Progress::Kind::Entry, std::move(text)});
        }
    }
    void entries(const StatusEntries& texts) {
        for (const std::string& text : texts) {
            entry(text);
        }
    }
    void step(Progress progress) const {
        if (m_progress) {
            m_progress(progress);
        }
    }

  private:
    StatusEntries& m_entries;
    const ProgressCallback& m_progress;
};

}  // namespace tevusb::device
