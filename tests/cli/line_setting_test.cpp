// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "cli/line_setting.h"

using tevusb::cli::parseLineSetting;
using tevusb::cli::parseTenths;

TEST(LineSetting, ModesAndValues) {
    auto apogee = parseLineSetting("apogee");
    ASSERT_TRUE(apogee);
    EXPECT_EQ(apogee->mode, 2);
    EXPECT_FALSE(apogee->value);

    auto time = parseLineSetting("time:1.5");
    ASSERT_TRUE(time);
    EXPECT_EQ(time->mode, 1);
    EXPECT_EQ(time->value, 15);

    auto altitude = parseLineSetting("altitude:150");
    ASSERT_TRUE(altitude);
    EXPECT_EQ(altitude->mode, 3);
    EXPECT_EQ(altitude->value, 150);

    EXPECT_EQ(parseLineSetting("disabled")->mode, 0);
}

TEST(LineSetting, RejectsWhatTheAltimeterCannotHold) {
    for (const char* bad : {"", "apogee:3", "time", "time:", "time:-1", "time:1.55", "time:6553.6",
                            "altitude:65536", "altitude:12.5", "altitude:x", "fast:1", "Time:1",
                            "time:nan", "time:inf", "altitude:1e3x"}) {
        EXPECT_FALSE(parseLineSetting(bad)) << bad;
    }
    EXPECT_EQ(parseTenths("6553.5"), 65535);
    EXPECT_EQ(parseTenths("0"), 0);
    EXPECT_EQ(parseTenths("2.0"), 20);
    EXPECT_FALSE(parseTenths("-0.1"));
}
