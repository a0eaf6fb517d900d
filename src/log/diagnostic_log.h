// SPDX-License-Identifier: MIT
#pragma once

#include <charconv>
#include <concepts>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

namespace tevusb::log {

// A value logged in hexadecimal, e.g. logLine("Code: [", Hex{code}, "]").
struct Hex {
    unsigned value;
};

// The program's stream of short progress, value and error lines. Every line is written
// whole, ended by a line feed and flushed, under one lock, so lines from the window
// thread and a worker never interleave. By default it goes to standard output; the CLI
// sends it to standard error or nowhere, and tests capture it.
class DiagnosticLog {
  public:
    static DiagnosticLog& instance();

    // Writes one line (the parts concatenated) plus a line feed, and flushes.
    template <typename... Parts>
    void line(const Parts&... parts) {
        std::string text;
        (appendPart(text, parts), ...);
        text.push_back('\n');
        writeRaw(text, true);
    }

    // Writes text as it is, without a flush: for long running value lists.
    void writeRaw(std::string_view text, bool flush);

    // Redirects the stream; nullptr silences it. Returns the previous sink.
    std::ostream* setSink(std::ostream* sink);

    // Number formatting used by every log line and by the exports: like the C
    // locale's %g with 6 significant digits, whatever the user's locale.
    static void appendNumber(std::string& out, double value);
    // The same number as a string of its own.
    static std::string numberText(double value) {
        std::string text;
        appendNumber(text, value);
        return text;
    }
    static void appendHex(std::string& out, unsigned value);

  private:
    DiagnosticLog();

    static void appendPart(std::string& out, std::string_view s) { out.append(s); }
    static void appendPart(std::string& out, const char* s) { out.append(s); }
    static void appendPart(std::string& out, const std::string& s) { out.append(s); }
    static void appendPart(std::string& out, char c) { out.push_back(c); }
    static void appendPart(std::string& out, bool b) { out.push_back(b ? '1' : '0'); }
    static void appendPart(std::string& out, Hex h) { appendHex(out, h.value); }
    template <std::integral T>
    static void appendPart(std::string& out, T value) {
        char buf[24];
        auto res = std::to_chars(buf, buf + sizeof buf, value);
        out.append(buf, res.ptr);
    }
    template <std::floating_point T>
    static void appendPart(std::string& out, T value) {
        appendNumber(out, static_cast<double>(value));
    }

    std::mutex m_mutex;
    std::ostream* m_sink;
};

// Shorthand used throughout: logLine("Set: ", k).
template <typename... Parts>
void logLine(const Parts&... parts) {
    DiagnosticLog::instance().line(parts...);
}

}  // namespace tevusb::log
