#pragma once

#include <sstream>
#include <string>

#include "log/diagnostic_log.h"

namespace tevusb::ui::dltest {

// Captures the diagnostic lines written while it lives.
class LogCapture {
  public:
    LogCapture() : m_previous(log::DiagnosticLog::instance().setSink(&m_stream)) {}
    ~LogCapture() { log::DiagnosticLog::instance().setSink(m_previous); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const { return m_stream.str(); }
    int count(const std::string& line) const {
        const std::string all = "\n" + text();
        const std::string needle = "\n" + line + "\n";
        int n = 0;
        for (std::size_t at = all.find(needle); at != std::string::npos;
             at = all.find(needle, at + 1)) {
            ++n;
        }
        return n;
    }

  private:
    std::ostringstream m_stream;
    std::ostream* m_previous;
};

}  // namespace tevusb::ui::dltest
