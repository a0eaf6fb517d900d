// SPDX-License-Identifier: MIT
#include "log/journal_stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

namespace tevusb::log {
namespace {

std::string identity(int fd) {
    struct stat status {};
    EXPECT_EQ(fstat(fd, &status), 0);
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

TEST(JournalStreamTest, OnlyTheExactDeviceAndInodeOfTheDescriptorMatch) {
    std::FILE* journal = std::tmpfile();
    std::FILE* other = std::tmpfile();
    ASSERT_NE(journal, nullptr);
    ASSERT_NE(other, nullptr);
    const int fd = fileno(journal);
    const std::string value = identity(fd);
    EXPECT_TRUE(isJournalStream(value.c_str(), fd));
    EXPECT_FALSE(isJournalStream(identity(fileno(other)).c_str(), fd));

    const std::string device = value.substr(0, value.find(':'));
    const std::string inode = value.substr(value.find(':') + 1);
    for (const std::string& bad :
         {std::string(), device, device + ":", ":" + inode, value + "x", " " + value,
          device + ":-" + inode, device + ":" + inode + ":1", device + ":99999999999999999999"}) {
        EXPECT_FALSE(isJournalStream(bad.c_str(), fd)) << bad;
    }
    EXPECT_FALSE(isJournalStream(nullptr, fd));
    EXPECT_FALSE(isJournalStream(value.c_str(), -1));
    std::fclose(journal);
    std::fclose(other);
}

TEST(JournalStreamTest, VerboseVariableIsOnUnlessEmptyOrZero) {
    EXPECT_TRUE(verboseRequested("1"));
    EXPECT_TRUE(verboseRequested("yes"));
    EXPECT_FALSE(verboseRequested("0"));
    EXPECT_FALSE(verboseRequested(""));
    EXPECT_FALSE(verboseRequested(nullptr));
}

}  // namespace
}  // namespace tevusb::log
