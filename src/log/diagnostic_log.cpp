// SPDX-License-Identifier: MIT
#include "log/diagnostic_log.h"

#include <cstdio>
#include <iostream>

namespace tevusb::log {

DiagnosticLog::DiagnosticLog() : m_sink(&std::cout) {}

DiagnosticLog& DiagnosticLog::instance() {
    static DiagnosticLog log;
    return log;
}

void DiagnosticLog::writeRaw(std::string_view text, bool flush) {
    std::lock_guard lock(m_mutex);
    if (m_sink == nullptr) {
        return;
    }
    m_sink->write(text.data(), static_cast<std::streamsize>(text.size()));
    if (flush) {
        m_sink->flush();
    }
}

std::ostream* DiagnosticLog::setSink(std::ostream* sink) {
    std::lock_guard lock(m_mutex);
    std::ostream* previous = m_sink;
    m_sink = sink;
    return previous;
}

void DiagnosticLog::appendNumber(std::string& out, double value) {
    // to_chars with a precision is defined as printf's %g in the C locale, so the
    // decimal point is a full stop under every regional setting.
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    out.append(buf, res.ptr);
}

void DiagnosticLog::appendHex(std::string& out, unsigned value) {
    char buf[16];
    auto res = std::to_chars(buf, buf + sizeof buf, value, 16);
    out.append(buf, res.ptr);
}

}  // namespace tevusb::log
