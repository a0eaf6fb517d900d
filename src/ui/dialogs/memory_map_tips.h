// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace tevusb::data {
class DataSetStore;
}

namespace tevusb::ui {

// What a column of the memory map holds, for its tooltip: "Set 2: 722 readings, 72.2 s,
// apogee 719.7 m" for a packet of a set, "Empty" for an erased one, "" outside the image.
// Decodes a copy of the set, so the store's current set stays as it is.
QString memoryMapTip(const data::DataSetStore& store, int packet);

}  // namespace tevusb::ui
