// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>
#include <mutex>

namespace tevusb::ui {

// The text behind a dialog's status box: appended from any thread, read by the window
// thread. It holds at most kCapacity - 1 characters (the last slot is the terminator of the
// original wide buffer); when an append would overflow, the oldest lines go so that the
// newest text is always kept.
class StatusBuffer {
  public:
    static constexpr qsizetype kCapacity = 131072;

    void append(const QString& text);
    QString text() const;
    qsizetype size() const;

  private:
    mutable std::mutex m_mutex;
    QString m_text;
};

// The buffer's text as an edit control shows it: "\r\n" and lone "\n" end lines; a lone
// "\r" (half of a line end still to come) shows nothing.
QString displayText(const QString& raw);

}  // namespace tevusb::ui
