// SPDX-License-Identifier: MIT
#include "support/log_capture.h"

#include <sstream>

namespace tevusb::testing {

std::string LockedBuffer::text() const {
    std::lock_guard lock(m_mutex);
    return m_text;
}

LockedBuffer::int_type LockedBuffer::overflow(int_type c) {
    if (c != traits_type::eof()) {
        std::lock_guard lock(m_mutex);
        m_text.push_back(static_cast<char>(c));
    }
    return traits_type::not_eof(c);
}

std::streamsize LockedBuffer::xsputn(const char* s, std::streamsize n) {
    std::lock_guard lock(m_mutex);
    m_text.append(s, static_cast<std::size_t>(n));
    return n;
}

LogCapture::LogCapture() : m_previous(log::DiagnosticLog::instance().setSink(&m_stream)) {}

LogCapture::~LogCapture() {
    log::DiagnosticLog::instance().setSink(m_previous);
}

std::vector<std::string> LogCapture::lines() const {
    std::vector<std::string> out;
    std::istringstream in(text());
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
