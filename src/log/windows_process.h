// SPDX-License-Identifier: MIT
#pragma once

// Windows only: what a program of this build does first.
namespace tevusb::log {

// Narrow strings (the command line, file names turned into text) are in the system's
// ANSI code page, as every other Windows program reads them; numbers keep the C locale.
void useSystemCodePage();

// A program of the GUI subsystem has no standard output: when started from a console
// with --verbose, its diagnostic lines go to that console. False when there is none.
bool attachStartingConsole();

}  // namespace tevusb::log
