// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/app_options.h"

namespace tevusb::app {
namespace {

TEST(AppOptionsTest, OptionsAndTheFileAreRead) {
    auto none = parseAppOptions({});
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->simulator);
    EXPECT_TRUE(none->file.empty());
    EXPECT_FALSE(none->library.has_value());

    auto all = parseAppOptions({"--library", "/tmp/flights", "--simulator", "a.tev", "--verbose"});
    ASSERT_TRUE(all);
    EXPECT_TRUE(all->simulator);
    EXPECT_TRUE(all->verbose);
    EXPECT_EQ(all->library.value_or(""), "/tmp/flights");
    EXPECT_EQ(all->file, "a.tev");

    // After "--" a file may start with a dash; a library folder may look like an option.
    auto dashed = parseAppOptions({"--library", "--simulator", "--", "-odd.tev"});
    ASSERT_TRUE(dashed);
    EXPECT_FALSE(dashed->simulator);
    EXPECT_EQ(dashed->library.value_or(""), "--simulator");
    EXPECT_EQ(dashed->file, "-odd.tev");
}

TEST(AppOptionsTest, AnythingElseIsRefusedWithOneLine) {
    const std::vector<std::vector<std::string>> refused = {{"--simulator", "-simulator"},
                                                           {"--Simulator"},
                                                           {""},
                                                           {"--library"},
                                                           {"--library", ""},
                                                           {"a.tev", "b.tev"},
                                                           {"-"},
                                                           {"--file=a.tev"}};
    for (const auto& words : refused) {
        std::string error;
        EXPECT_FALSE(parseAppOptions(words, &error)) << words.back();
        EXPECT_EQ(error.rfind("tevusb: ", 0), 0u) << error;
        EXPECT_NE(error.find("usage: tevusb"), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    std::string error;
    parseAppOptions({"--simulator", "--bogus"}, &error);
    EXPECT_NE(error.find("'--bogus'"), std::string::npos) << error;
}

TEST(AppOptionsTest, RawCommandLineIsScannedPastTheToolkitsWords) {
    const char* plain[] = {"tevusb", "-platform", "offscreen"};
    EXPECT_FALSE(wantsSimulator(3, plain));
    const char* sim[] = {"tevusb", "-platform", "offscreen", "--simulator"};
    EXPECT_TRUE(wantsSimulator(4, sim));
    const char* prefix[] = {"tevusb", "--simulator-x"};
    EXPECT_FALSE(wantsSimulator(2, prefix));

    const char* help[] = {"tevusb", "-style", "fusion", "--help", "--bogus"};
    EXPECT_TRUE(scanRawOptions(5, help).help);
    const char* folder[] = {"tevusb", "--library", "--help", "--", "--version"};
    const AppOptions notAsked = scanRawOptions(5, folder);
    EXPECT_FALSE(notAsked.help);
    EXPECT_FALSE(notAsked.version);
    const char* version[] = {"tevusb", "--verbose", "--version"};
    EXPECT_TRUE(scanRawOptions(3, version).version);
    EXPECT_TRUE(scanRawOptions(3, version).verbose);
    EXPECT_EQ(versionText(), "tevusb 1.50\n");
}

TEST(AppOptionsTest, SimulatedFlightsGetALibraryOfTheirOwnUnlessOneIsNamed) {
    const char* before = std::getenv("TEVUSB_LIBRARY");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("TEVUSB_LIBRARY", "/data/flights", 1);

    const LibraryChoice real = chooseLibrary(*parseAppOptions({}));
    EXPECT_EQ(real.folder, std::filesystem::path("/data/flights"));
    EXPECT_FALSE(real.simulator);
    const LibraryChoice simulated = chooseLibrary(*parseAppOptions({"--simulator"}));
    EXPECT_EQ(simulated.folder, std::filesystem::path("/data/flights/simulator"));
    EXPECT_TRUE(simulated.simulator);
    const LibraryChoice named =
        chooseLibrary(*parseAppOptions({"--simulator", "--library", "/tmp/sims"}));
    EXPECT_EQ(named.folder, std::filesystem::path("/tmp/sims"));
    EXPECT_FALSE(named.simulator);

    if (before != nullptr) {
        ::setenv("TEVUSB_LIBRARY", saved.c_str(), 1);
    } else {
        ::unsetenv("TEVUSB_LIBRARY");
    }
}

}  // namespace
}  // namespace tevusb::app
