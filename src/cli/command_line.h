// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace tevusb::cli {

// The words after the program's name, as UTF-8. On Windows `argv` is in the ANSI code page
// and loses what that cannot write ("Höhe ✈.tev"), so the words are read from the wide
// command line instead; elsewhere they are `argv`'s bytes as given.
std::vector<std::string> commandLineWords(int argc, char** argv);

// On Windows a console shows this program's UTF-8 output in its own code page unless told
// otherwise: a console on standard output or error is switched to UTF-8 until the program
// ends. Through a pipe or into a file the bytes are UTF-8 as they are. Elsewhere nothing.
void useUtf8Console();

}  // namespace tevusb::cli
