#pragma once

#include <sstream>
#include <string>

#include "log/diagnostic_log.h"

namespace tevusb::testing {

// Captures the diagnostic log for the lifetime of the object.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    std::string text() const { return m_stream.str(); }
    bool contains(const std::string& line) const;

  private:
    std::ostringstream m_stream;
    std::ostream* m_previous;
};

}  // namespace tevusb::testing
