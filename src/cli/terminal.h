// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>

namespace tevusb::cli {

// A one-line progress bar on standard error, drawn only when it is a terminal.
class ProgressBar {
  public:
    explicit ProgressBar(std::string label);
    ~ProgressBar();
    // Redraws when the whole percentage changed.
    void update(long done, long total);
    void finish();

  private:
    std::string m_label;
    bool m_enabled;
    int m_lastPercent = -1;
    bool m_finished = false;
};

// Asks a Yes/No question on the terminal. Without a terminal the answer is No unless
// `assumeYes`, so a script never sets something off by accident.
bool confirm(const std::string& question, bool assumeYes, std::ostream& err);

// Prints status entries (with their own "\r\n" ends) as plain lines.
void printEntries(std::ostream& out, const std::string& entry);

// Ctrl-C asks the running device operation to stop instead of killing the program, so a
// download or emulation ends cleanly and the device is left in a known state.
void installCancelOnInterrupt();

}  // namespace tevusb::cli
