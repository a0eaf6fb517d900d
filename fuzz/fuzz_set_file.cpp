// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the data-set file reader, then uses what it accepted the way
// the program would: select, derive, export.
#include <cstddef>
#include <cstdint>

#include "data/export_format.h"
#include "fuzz_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tevusb;
    auto made = fuzz::storeFromFileBytes(data, size);
    if (!made) {
        return 0;
    }
    data::DataSetStore& store = *made;
    for (int k = -1; k <= store.setCount(); ++k) {
        store.selectSet(k);
        store.indexOfMaximum(store.current.smoothedAltitude);
        store.setIndexOfPacket(k);
        if (k >= 0) {
            store.packetCount(k);
        }
    }
    (void)data::export_format::escapeXml(store.comment(0));
    return 0;
}
