#include "log_capture.h"

namespace tevusb::testing {

LogCapture::LogCapture() : m_previous(log::DiagnosticLog::instance().setSink(&m_stream)) {}

LogCapture::~LogCapture() {
    log::DiagnosticLog::instance().setSink(m_previous);
}

bool LogCapture::contains(const std::string& line) const {
    return ("\n" + text()).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace tevusb::testing
