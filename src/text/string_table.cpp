// SPDX-License-Identifier: MIT
#include "text/string_table.h"

namespace tevusb::text {

std::string_view stringText(int id) {
    switch (id) {
        case 103:
            return "Data set/s saved succesfully.";
        case 104:
            return "Error saving file. Make sure that it is not write protected or locked, and "
                   "that the disk has enough space.";
        case 106:
            return "Failed to save the CSV file. Make sure that it is not write protected or "
                   "locked, and that the disk has enough space.";
        case 107:
            return "Are you sure?";
        case 109:
            return "Could not load file. Make sure the file is valid and not locked.";
        case 110:
            return "Please enter your aproximate MSL altitude and try again.";
        case 111:
            return "The inhibit setting is very large. Please make sure that it is the correct "
                   "setting.";
        case 112:
            return "One or both of the ejection lines are disabled. Make sure this is correct.";
        case 113:
            return "You may now connect the battery to the device if you want a real time launch. "
                   "Click OK when connected or ignore.";
        case 114:
            return "Updating firmware is a delicate process.\r\nCanceling may cause your device to "
                   "fail.";
        default:
            return {};
    }
}

}  // namespace tevusb::text
