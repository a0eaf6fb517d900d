#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "log/diagnostic_log.h"

namespace tevusb::device::testing {

// Captures the diagnostic lines for the life of the object and restores the sink after.
class LogCapture {
  public:
    LogCapture() : m_previous(log::DiagnosticLog::instance().setSink(&m_stream)) {}
    ~LogCapture() { log::DiagnosticLog::instance().setSink(m_previous); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const { return m_stream.str(); }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        std::istringstream in(m_stream.str());
        for (std::string line; std::getline(in, line);) {
            out.push_back(line);
        }
        return out;
    }
    bool has(const std::string& line) const {
        for (const auto& l : lines()) {
            if (l == line) {
                return true;
            }
        }
        return false;
    }
    int count(const std::string& line) const {
        int n = 0;
        for (const auto& l : lines()) {
            n += l == line ? 1 : 0;
        }
        return n;
    }

  private:
    std::ostringstream m_stream;
    std::ostream* m_previous;
};

}  // namespace tevusb::device::testing
