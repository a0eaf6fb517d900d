// SPDX-License-Identifier: MIT
#include "library/archive_files.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "data/os_file.h"
#include "data/utf8_path.h"
#include "library/archive_stage.h"

namespace tevusb::library::archive_files {

namespace {

constexpr const char* kTempMark = ".tmp-";

std::string reason(int error) {
    return std::strerror(error);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const long n = data::os::writeSome(fd, bytes.data(), bytes.size());
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            // No progress and no error: trying again would spin for ever.
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool sameBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ifstream in(file, std::ios::binary);
    const std::string have((std::istreambuf_iterator<char>(in)), {});
    return in.good() || in.eof() ? have == bytes : false;
}

}  // namespace

bool syncFolder(const std::filesystem::path& folder) {
    return data::os::syncFolder(folder);
}

bool makeFolders(const std::filesystem::path& folder, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) {
        return true;
    }
    // A relative name ("flights") has no parent to make first; its parent is the
    // working folder.
    if (folder.is_relative()) {
        const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
        if (!ec && absolute.is_absolute()) {
            return makeFolders(absolute, error);
        }
    }
    if (!folder.has_parent_path() || folder.parent_path() == folder) {
        error = "Cannot create the folder " + folder.string() + ".";
        return false;
    }
    if (!makeFolders(folder.parent_path(), error)) {
        return false;
    }
    std::filesystem::create_directory(folder, ec);
    if (ec && ec != std::errc::file_exists) {
        error = "Cannot create the folder " + folder.string() + ": " + ec.message() + ".";
        return false;
    }
    if (!std::filesystem::is_directory(folder, ec)) {
        error = "Cannot create the folder " + folder.string() + ": something else is there.";
        return false;
    }
    syncFolder(folder.parent_path());
    return true;
}

Placed writeNew(const std::filesystem::path& target, std::string_view bytes, std::string& error) {
    const auto folder = target.parent_path();
    static std::atomic<unsigned> counter{0};
    // Joined as paths, so that the name is never narrowed to a code page on Windows.
    std::filesystem::path name(".");
    name += target.filename();
    name += kTempMark + std::to_string(data::os::processId()) + "-" +
            std::to_string(counter.fetch_add(1));
    const auto temp = folder / name;
    const int fd = data::os::createOrTruncate(temp);
    if (fd < 0) {
        error =
            "Cannot write into the library folder " + folder.string() + ": " + reason(errno) + ".";
        return Placed::Failed;
    }
    int failure = 0;
    if (!writeAll(fd, bytes)) {
        failure = errno != 0 ? errno : EIO;
        data::os::closeFile(fd);
    } else if (!data::os::syncAndClose(fd)) {
        failure = errno != 0 ? errno : EIO;
    }
    std::error_code ignored;
    if (failure != 0) {
        std::filesystem::remove(temp, ignored);
        error = "Cannot write the archive file " + target.string() + ": " + reason(failure) + ".";
        return Placed::Failed;
    }
    reachArchiveStage(ArchiveStage::TempWritten);
    // A hard link fails when the target exists, where a rename would silently replace it.
    std::error_code linked;
    std::filesystem::create_hard_link(temp, target, linked);
    std::filesystem::remove(temp, ignored);
    if (linked) {
        if (linked == std::errc::file_exists) {
            return sameBytes(target, bytes) ? Placed::SameExists : Placed::OtherExists;
        }
        error = "Cannot write the archive file " + target.string() + ": " + linked.message() + ".";
        return Placed::Failed;
    }
    reachArchiveStage(ArchiveStage::FilePlaced);
    if (!syncFolder(folder)) {
        error = "Cannot sync the library folder " + folder.string() + ": " + reason(errno) + ".";
        return Placed::Failed;
    }
    reachArchiveStage(ArchiveStage::FolderSynced);
    return Placed::Written;
}

bool moveNew(const std::filesystem::path& from, const std::filesystem::path& to,
             std::string& error) {
    std::error_code ec;
    std::filesystem::create_hard_link(from, to, ec);
    if (ec) {
        error = "Cannot move " + from.string() + " to " + to.string() + ": " + ec.message() + ".";
        return false;
    }
    syncFolder(to.parent_path());
    if (!std::filesystem::remove(from, ec) || ec) {
        error = "Cannot remove " + from.string() + ": " +
                (ec ? ec.message() : std::string("it is no longer there")) + ".";
        std::error_code ignored;
        std::filesystem::remove(to, ignored);
        return false;
    }
    syncFolder(from.parent_path());
    return true;
}

bool isTemporary(const std::filesystem::path& file) {
    const std::string name = data::pathToUtf8(file.filename());
    return !name.empty() && name[0] == '.' && name.find(kTempMark) != std::string::npos;
}

void removeStaleTemporary(const std::filesystem::path& file) {
    const std::string name = data::pathToUtf8(file.filename());
    const auto at = name.rfind(kTempMark);
    if (at == std::string::npos) {
        return;
    }
    const std::string rest = name.substr(at + std::strlen(kTempMark));
    const std::string digits = rest.substr(0, rest.find('-'));
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return;
    }
    const long pid = std::stol(digits);
    if (!data::os::processAlive(pid)) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
}

}  // namespace tevusb::library::archive_files
