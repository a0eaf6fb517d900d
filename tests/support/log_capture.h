// SPDX-License-Identifier: MIT
#pragma once

#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "log/diagnostic_log.h"

namespace tevusb::testing {

// A text buffer that worker threads may write while the test thread reads it.
class LockedBuffer : public std::streambuf {
  public:
    std::string text() const;

  private:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

    mutable std::mutex m_mutex;
    std::string m_text;
};

// Captures the diagnostic lines written while it lives and restores the previous sink
// after; safe to read while workers still write. Lines are compared whole by has() and
// count(): has("Done.") does not match "Done..."; contains() looks for any part of the text.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const { return m_buffer.text(); }
    std::vector<std::string> lines() const;
    bool has(const std::string& line) const { return count(line) > 0; }
    int count(const std::string& line) const;
    bool contains(const std::string& part) const { return text().find(part) != std::string::npos; }

  private:
    LockedBuffer m_buffer;
    std::ostream m_stream{&m_buffer};
    std::ostream* m_previous;
};

}  // namespace tevusb::testing
