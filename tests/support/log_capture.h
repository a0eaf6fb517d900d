// SPDX-License-Identifier: MIT
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "log/diagnostic_log.h"

namespace tevusb::testing {

// Captures the diagnostic lines written while it lives and restores the previous sink
// after. Lines are compared whole: has("Done.") does not match "Done..." .
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const { return m_stream.str(); }
    std::vector<std::string> lines() const;
    bool has(const std::string& line) const { return count(line) > 0; }
    int count(const std::string& line) const;

  private:
    std::ostringstream m_stream;
    std::ostream* m_previous;
};

}  // namespace tevusb::testing
