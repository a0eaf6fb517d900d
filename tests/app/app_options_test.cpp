#include <gtest/gtest.h>

#include "app/app_options.h"

namespace tevusb::app {
namespace {

TEST(AppOptionsTest, SimulatorIsTheOnlyOption) {
    auto none = parseAppOptions({});
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->simulator);

    auto simulator = parseAppOptions({"--simulator"});
    ASSERT_TRUE(simulator);
    EXPECT_TRUE(simulator->simulator);
}

TEST(AppOptionsTest, AnythingElseIsRefusedWithOneLine) {
    for (const std::string word : {"--help", "-simulator", "--Simulator", "file.tev", ""}) {
        std::string error;
        EXPECT_FALSE(parseAppOptions({"--simulator", word}, &error)) << word;
        EXPECT_NE(error.find("'" + word + "'"), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(AppOptionsTest, RawCommandLineIsScannedForTheSimulatorOnly) {
    const char* plain[] = {"tevusb", "-platform", "offscreen"};
    EXPECT_FALSE(wantsSimulator(3, plain));
    const char* sim[] = {"tevusb", "-platform", "offscreen", "--simulator"};
    EXPECT_TRUE(wantsSimulator(4, sim));
    const char* prefix[] = {"tevusb", "--simulator-x"};
    EXPECT_FALSE(wantsSimulator(2, prefix));
}

}  // namespace
}  // namespace tevusb::app
