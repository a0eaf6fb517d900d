// SPDX-License-Identifier: MIT
#pragma once

// The process exit statuses of tevusb-cli and tevusb-report. Scripts test them, so the
// values never change. They stay plain ints: every command returns the status main hands
// to the system, and tests compare it as the shell sees it.
namespace tevusb::cli::exit_code {

inline constexpr int kOk = 0;
// The command was understood but could not do its work (a file, the library, the device).
inline constexpr int kFailed = 1;
// The command line itself is wrong: an unknown command or option, a malformed value.
inline constexpr int kUsage = 2;
// A check ran and its answer is "do not fly": a result, not a failure of the program.
inline constexpr int kNoGo = 3;

}  // namespace tevusb::cli::exit_code
