// SPDX-License-Identifier: MIT
#include "library/archive_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "library/archive_stage.h"

namespace tevusb::library::archive_files {

namespace {

constexpr const char* kTempMark = ".tmp-";

std::string reason(int error) {
    return std::strerror(error);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
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
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool makeFolders(const std::filesystem::path& folder, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) {
        return true;
    }
    if (!folder.has_parent_path() || folder.parent_path() == folder) {
        error = "Cannot create the folder " + folder.string() + ".";
        return false;
    }
    if (!makeFolders(folder.parent_path(), error)) {
        return false;
    }
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
        error = "Cannot create the folder " + folder.string() + ": " + reason(errno) + ".";
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
    const auto temp =
        folder / ("." + target.filename().string() + kTempMark + std::to_string(::getpid()) + "-" +
                  std::to_string(counter.fetch_add(1)));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error =
            "Cannot write into the library folder " + folder.string() + ": " + reason(errno) + ".";
        return Placed::Failed;
    }
    int failure = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        failure = errno != 0 ? errno : EIO;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno != 0 ? errno : EIO;
    }
    if (failure != 0) {
        ::unlink(temp.c_str());
        error = "Cannot write the archive file " + target.string() + ": " + reason(failure) + ".";
        return Placed::Failed;
    }
    reachArchiveStage(ArchiveStage::TempWritten);
    // link() fails when the target exists, where rename() would silently replace it.
    if (::link(temp.c_str(), target.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        if (e == EEXIST) {
            return sameBytes(target, bytes) ? Placed::SameExists : Placed::OtherExists;
        }
        error = "Cannot write the archive file " + target.string() + ": " + reason(e) + ".";
        return Placed::Failed;
    }
    ::unlink(temp.c_str());
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
    if (::link(from.c_str(), to.c_str()) != 0) {
        error = "Cannot move " + from.string() + " to " + to.string() + ": " + reason(errno) + ".";
        return false;
    }
    syncFolder(to.parent_path());
    if (::unlink(from.c_str()) != 0) {
        error = "Cannot remove " + from.string() + ": " + reason(errno) + ".";
        ::unlink(to.c_str());
        return false;
    }
    syncFolder(from.parent_path());
    return true;
}

bool isTemporary(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    return !name.empty() && name[0] == '.' && name.find(kTempMark) != std::string::npos;
}

void removeStaleTemporary(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
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
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
}

}  // namespace tevusb::library::archive_files
