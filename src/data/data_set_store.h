// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "data/fast_set.h"
#include "data/graph_scale.h"
#include "data/load_error.h"
#include "data/memory_packet.h"
#include "data/save_error.h"
#include "settings/device_settings.h"

namespace tevusb::data {

// Everything the program knows about the flights of one altimeter: the flight memory
// image, the settings in force when it was recorded, one comment per set, the decoded
// current set and the live set of a running download. Sets are runs of packets in the
// image, found by their type bytes and decoded when selected.
//
// There is one store per program, inside the program-wide device object. It has no lock:
// the dialogs let one thread at a time touch it.
class DataSetStore {
  public:
    settings::DeviceSettings settings;
    std::vector<MemoryPacket> packets;
    DataSet current;
    FastSet fast;
    std::vector<std::string> comments;
    GraphScale scale;

    int setCount() const;
    // Index of the packet that starts set k, or -1.
    int setAddress(int k) const;
    // Number of packets of the valid set k.
    int packetCount(int k) const;
    // The set a packet belongs to; -1 outside the image or before the first set.
    int setIndexOfPacket(int p) const;
    // Decodes set k into current; -1 changes nothing and returns false.
    bool selectSet(int k);
    // Index of the first largest value, or -1 while current holds no readings.
    int indexOfMaximum(const std::vector<double>& series) const;
    int readingCount() const;

    // The comment of set k, or empty when the set has no comment slot.
    std::string comment(int k) const;
    // Stores the comment of set k; ignored when k has no slot.
    void setComment(int k, std::string text);

    // Writes set k as a data-set file. A failed write leaves any earlier file intact.
    bool saveSetFile(const std::filesystem::path& path, int k);
    // Reads a data-set file; on success it replaces image, settings and comments, on
    // failure the store is left exactly as it was.
    // formatVersion, when given, receives the file's version on success.
    bool loadSetFile(const std::filesystem::path& path, std::uint16_t* formatVersion = nullptr);
    // The same; on failure `error` says why, in one line that names the file.
    bool loadSetFile(const std::filesystem::path& path, LoadError& error,
                     std::uint16_t* formatVersion = nullptr);

    // Select set k and write it as CSV or XML. False when the file cannot be written.
    bool exportCsv(const std::filesystem::path& path, int k);
    bool exportXml(const std::filesystem::path& path, int k);
    // The same; on failure `error` says why, naming the file.
    bool exportCsv(const std::filesystem::path& path, int k, SaveError& error);
    bool exportXml(const std::filesystem::path& path, int k, SaveError& error);
};

}  // namespace tevusb::data
