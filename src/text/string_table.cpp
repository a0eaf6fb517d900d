// SPDX-License-Identifier: MIT
#include "text/string_table.h"

#include "text/string_ids.h"

namespace tevusb::text {

std::string_view stringText(int id) {
    using namespace string_ids;
    switch (id) {
        case kDataSetsSaved:
            return "Data set/s saved succesfully.";
        case kSaveFailed:
            return "Error saving file. Make sure that it is not write protected or locked, and "
                   "that the disk has enough space.";
        case kCsvSaveFailed:
            return "Failed to save the CSV file. Make sure that it is not write protected or "
                   "locked, and that the disk has enough space.";
        case kAreYouSure:
            return "Are you sure?";
        case kLoadFailed:
            return "Could not load file. Make sure the file is valid and not locked.";
        case kNoGroundAltitude:
            return "Please enter your aproximate MSL altitude and try again.";
        case kInhibitLarge:
            return "The inhibit setting is very large. Please make sure that it is the correct "
                   "setting.";
        case kLineDisabled:
            return "One or both of the ejection lines are disabled. Make sure this is correct.";
        case kConnectBattery:
            return "You may now connect the battery to the device if you want a real time launch. "
                   "Click OK when connected or ignore.";
        case kUpdateRunning:
            return "Updating firmware is a delicate process.\r\nCanceling may cause your device to "
                   "fail.";
        default:
            return {};
    }
}

}  // namespace tevusb::text
