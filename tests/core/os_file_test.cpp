// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/os_file.h"
#include "support/temp_dir.h"

namespace tevusb::data::os {
namespace {

TEST(OsFileTest, FolderSyncAndTruncatingCreate) {
    testing::TempDir dir;
    EXPECT_TRUE(syncFolder(dir.path()));
    EXPECT_FALSE(syncFolder(dir / "missing"));

    const auto file = dir / "f.bin";
    int fd = createOrTruncate(file);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(writeSome(fd, "abcdef", 6), 6);
    EXPECT_TRUE(syncAndClose(fd));
    fd = createOrTruncate(file);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(writeSome(fd, "xy", 2), 2);
    EXPECT_TRUE(syncAndClose(fd));
    EXPECT_EQ(testing::readAll(file), "xy");
}

TEST(OsFileTest, OnlyAProcessKnownToBeGoneCountsAsDead) {
    EXPECT_TRUE(processAlive(processId()));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_FALSE(processAlive(child));
    // Nothing to tell about: kept, never taken for litter.
    EXPECT_TRUE(processAlive(0));
    EXPECT_TRUE(processAlive(-5));
}

}  // namespace
}  // namespace tevusb::data::os
