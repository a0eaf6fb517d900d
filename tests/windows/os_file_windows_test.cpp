// SPDX-License-Identifier: MIT
// The Windows branches of the operating-system file calls, run under Windows (or Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "data/atomic_file.h"
#include "data/os_file.h"
#include "support/temp_dir.h"

namespace tevusb::data::os {
namespace {

using tevusb::testing::readAll;
using tevusb::testing::TempDir;
using tevusb::testing::writeAll;

// A folder name no ANSI code page holds whole: UTF-16 all the way or nothing works.
const std::filesystem::path kWideFolder(L"Fl\u00fcge \u03a3\u0436");

TEST(OsFileWindows, ExclusiveCreateWriteAndTruncateInAWideFolder) {
    TempDir dir;
    const auto folder = dir.path() / kWideFolder;
    std::filesystem::create_directory(folder);
    const auto file = folder / L"Fl\u00fcg 1.tev";

    int fd = createExclusive(file);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(writeSome(fd, "abcdef", 6), 6);
    EXPECT_TRUE(syncAndClose(fd));
    // Exclusive means exclusive: the second create fails and leaves the file alone.
    EXPECT_EQ(createExclusive(file), -1);
    EXPECT_EQ(readAll(file), "abcdef");

    fd = createOrTruncate(file);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(writeSome(fd, "xy", 2), 2);
    EXPECT_TRUE(syncAndClose(fd));
    EXPECT_EQ(readAll(file), "xy");
    // Binary: a line end is written as the one byte it is.
    fd = createOrTruncate(file);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(writeSome(fd, "a\nb", 3), 3);
    EXPECT_TRUE(syncAndClose(fd));
    EXPECT_EQ(readAll(file), "a\nb");

    EXPECT_TRUE(syncFolder(folder));
    EXPECT_EQ(createOrTruncate(folder / "missing" / "f.bin"), -1);
}

TEST(OsFileWindows, ReadOnlyFilesAreNotWritable) {
    TempDir dir;
    const auto file = dir / "kept.tev";
    writeAll(file, "x");
    EXPECT_TRUE(mayWrite(file));
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(mayWrite(file));
    // The safe writer refuses rather than replacing a file the flyer protected.
    AtomicFile replacement(file);
    EXPECT_FALSE(replacement.isOpen());
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(OsFileWindows, SafeWriterReplacesAnExistingFileWithAWideName) {
    TempDir dir;
    const auto file = dir.path() / L"\u03a3 flight.csv";
    writeAll(file, "old contents");
    AtomicFile out(file);
    ASSERT_TRUE(out.isOpen());
    out.write("new");
    ASSERT_TRUE(out.commit());
    EXPECT_EQ(readAll(file), "new");
    // Nothing of the temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(OsFileWindows, TheNoReplaceLinkRefusesAnExistingTarget) {
    TempDir dir;
    const auto from = dir.path() / L"staged \u00e9.tev";
    const auto to = dir.path() / L"archived \u00e9.tev";
    writeAll(from, "flight");
    writeAll(to, "another flight");
    std::error_code ec;
    std::filesystem::create_hard_link(from, to, ec);
    EXPECT_TRUE(ec);
    EXPECT_EQ(readAll(to), "another flight");
    std::filesystem::remove(to);
    std::filesystem::create_hard_link(from, to, ec);
    EXPECT_FALSE(ec) << ec.message();
    EXPECT_EQ(readAll(to), "flight");
}

TEST(OsFileWindows, OnlyAProcessKnownToBeGoneCountsAsDead) {
    EXPECT_TRUE(processAlive(processId()));
    EXPECT_TRUE(processAlive(0));
    EXPECT_TRUE(processAlive(-5));

    wchar_t command[] = L"cmd.exe /c exit 0";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                 nullptr, nullptr, &startup, &child));
    ::CloseHandle(child.hThread);
    ASSERT_EQ(::WaitForSingleObject(child.hProcess, 30000), WAIT_OBJECT_0);
    // Ended, though this test still holds its handle: gone all the same.
    EXPECT_FALSE(processAlive(static_cast<long>(child.dwProcessId)));
    ::CloseHandle(child.hProcess);
    EXPECT_FALSE(processAlive(static_cast<long>(child.dwProcessId)));
}

}  // namespace
}  // namespace tevusb::data::os
