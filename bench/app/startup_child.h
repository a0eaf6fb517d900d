// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::bench {

// One measured start in a fresh process: "app" starts the program's window as the program
// does, "minimal" a bare maximised Qt main window. At the first paint of the client area
// the child writes "painted" to standard output; once it has stayed idle a moment it writes
// "rss <kilobytes>" and exits.
int runStartupChild(const char* kind, int argc, char** argv);

}  // namespace tevusb::bench
