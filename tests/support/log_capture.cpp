// SPDX-License-Identifier: MIT
#include "support/log_capture.h"

namespace tevusb::testing {

LogCapture::LogCapture() : m_previous(log::DiagnosticLog::instance().setSink(&m_stream)) {}

LogCapture::~LogCapture() {
    log::DiagnosticLog::instance().setSink(m_previous);
}

std::vector<std::string> LogCapture::lines() const {
    std::vector<std::string> out;
    std::istringstream in(m_stream.str());
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

int LogCapture::count(const std::string& line) const {
    int n = 0;
    for (const std::string& written : lines()) {
        n += written == line ? 1 : 0;
    }
    return n;
}

}  // namespace tevusb::testing
