// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>

#include "library/library_location.h"

using tevusb::library::resolveLibraryFolder;

namespace {

// Sets an environment variable for the scope, restoring what was there.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

}  // namespace

TEST(LibraryLocation, OptionThenEnvironmentThenXdgThenHome) {
    ScopedEnv home("HOME", "/home/flyer");
    ScopedEnv xdg("XDG_DATA_HOME", "/data");
    ScopedEnv chosen("TEVUSB_LIBRARY", "/mnt/club-library");
    EXPECT_EQ(resolveLibraryFolder(std::string("/tmp/mine")), "/tmp/mine");
    EXPECT_EQ(resolveLibraryFolder(std::nullopt), "/mnt/club-library");
    {
        ScopedEnv none("TEVUSB_LIBRARY", nullptr);
        EXPECT_EQ(resolveLibraryFolder(std::nullopt), "/data/tevusb");
        // A relative XDG_DATA_HOME is to be ignored, as is an empty one.
        ScopedEnv relative("XDG_DATA_HOME", "data");
        EXPECT_EQ(resolveLibraryFolder(std::nullopt), "/home/flyer/.local/share/tevusb");
        ScopedEnv empty("XDG_DATA_HOME", "");
        EXPECT_EQ(resolveLibraryFolder(std::nullopt), "/home/flyer/.local/share/tevusb");
        ScopedEnv nohome("HOME", nullptr);
        ScopedEnv noxdg("XDG_DATA_HOME", nullptr);
        EXPECT_TRUE(resolveLibraryFolder(std::nullopt).empty());
    }
}
