// SPDX-License-Identifier: MIT
// The store's file operations: data-set files and the CSV and XML exports.
#include <cerrno>
#include <fstream>
#include <system_error>

#include "data/atomic_file.h"
#include "data/data_set_store.h"
#include "data/export_format.h"
#include "data/set_file.h"
#include "log/diagnostic_log.h"

namespace tevusb::data {

using log::logLine;

bool DataSetStore::saveSetFile(const std::filesystem::path& path, int k) {
    logLine("Selected set to save: ", k);
    AtomicFile file(path);
    if (!file.isOpen()) {
        return false;
    }
    const int a = setAddress(k);
    logLine("Set address: ", a);
    const int n = packetCount(k);
    logLine("Packet Count: ", n);
    const MemoryPacket* first = a >= 0 ? &packets[static_cast<std::size_t>(a)] : nullptr;
    file.write(
        set_file::encode(first, a >= 0 ? static_cast<std::size_t>(n) : 0, settings, comment(k)));
    return file.commit();
}

bool DataSetStore::loadSetFile(const std::filesystem::path& path, std::uint16_t* formatVersion) {
    LoadError ignored;
    return loadSetFile(path, ignored, formatVersion);
}

bool DataSetStore::loadSetFile(const std::filesystem::path& path, LoadError& error,
                               std::uint16_t* formatVersion) {
    const std::string name = path.string();
    std::error_code ec;
    // A folder opens as a stream on some systems and then reads as nothing, which would
    // be reported as an empty file.
    if (std::filesystem::is_directory(path, ec)) {
        error = {LoadError::Kind::NotOpened, name + " is a folder, not a data-set file."};
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int cause = errno;
        error.kind = LoadError::Kind::NotOpened;
        if (!std::filesystem::exists(path, ec) && !ec) {
            error.message = name + " does not exist.";
        } else {
            error.message = name + " cannot be opened" +
                            (cause != 0 ? ": " + std::generic_category().message(cause) : "") + ".";
        }
        return false;
    }
    LoadError why;
    auto contents = set_file::decode(in, settings, why);
    if (!contents) {
        error = {why.kind, name + " " + why.message + "."};
        return false;
    }
    packets = std::move(contents->packets);
    settings = contents->settings;
    comments.assign(1, std::move(contents->comment));
    if (formatVersion != nullptr) {
        *formatVersion = contents->version;
    }
    return true;
}

namespace {

// Commits `file` and says why it failed, naming the target.
bool commitOrSay(AtomicFile& file, const std::filesystem::path& path, SaveError& error) {
    if (file.commit()) {
        return true;
    }
    error.reason = file.reason();
    error.message = "Cannot write " + path.string() + ": " + error.reason + ".";
    return false;
}

}  // namespace

bool DataSetStore::exportCsv(const std::filesystem::path& path, int k) {
    SaveError ignored;
    return exportCsv(path, k, ignored);
}

bool DataSetStore::exportXml(const std::filesystem::path& path, int k) {
    SaveError ignored;
    return exportXml(path, k, ignored);
}

bool DataSetStore::exportCsv(const std::filesystem::path& path, int k, SaveError& error) {
    AtomicFile file(path);
    if (!file.isOpen()) {
        return commitOrSay(file, path, error);
    }
    selectSet(k);
    BufferedWriter writer(file);
    export_format::writeCsv(current, writer);
    writer.flush();
    return commitOrSay(file, path, error);
}

bool DataSetStore::exportXml(const std::filesystem::path& path, int k, SaveError& error) {
    AtomicFile file(path);
    if (!file.isOpen()) {
        return commitOrSay(file, path, error);
    }
    selectSet(k);
    const bool hasCommentSlot = k >= 0 && static_cast<std::size_t>(k) < comments.size();
    BufferedWriter writer(file);
    export_format::writeXml(
        current, hasCommentSlot ? &comments[static_cast<std::size_t>(k)] : nullptr, writer);
    writer.flush();
    return commitOrSay(file, path, error);
}

}  // namespace tevusb::data
