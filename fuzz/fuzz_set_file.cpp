// Feeds arbitrary bytes to the data-set file reader, then uses what it accepted the way
// the program would: select, derive, export.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "data/data_set_store.h"
#include "data/export_format.h"
#include "data/set_file.h"
#include "log/diagnostic_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tevusb;
    static const bool silenced = [] {
        log::DiagnosticLog::instance().setSink(nullptr);
        return true;
    }();
    (void)silenced;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    settings::DeviceSettings previous;
    auto contents = data::set_file::decode(in, previous);
    if (!contents) {
        return 0;
    }
    data::DataSetStore store;
    store.packets = std::move(contents->packets);
    store.settings = contents->settings;
    store.comments = {contents->comment};
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
