// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tevusb::data {

// Why a file was not written: the reason alone ("the disk is full") and one line a flyer
// can read that names the file ("Cannot write /home/f/out.csv: the disk is full.").
struct SaveError {
    std::string reason;
    std::string message;
};

}  // namespace tevusb::data
