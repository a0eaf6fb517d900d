// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "analysis/line_setting_text.h"
#include "analysis/setting_warnings.h"
#include "settings/device_settings.h"

using namespace tevusb::analysis;
using tevusb::settings::DeviceSettings;
using tevusb::settings::LineMode;

namespace {

std::uint8_t mode(LineMode m) {
    return static_cast<std::uint8_t>(m);
}

}  // namespace

TEST(LineSettingText, OneNameForEachSettingInEitherUnits) {
    EXPECT_EQ(lineSettingText(mode(LineMode::Disabled), 77), "Disabled");
    EXPECT_EQ(lineSettingText(mode(LineMode::Apogee), 77), "Apogee");
    EXPECT_EQ(lineSettingText(mode(LineMode::Time), 25), "Time 2.5 s");
    EXPECT_EQ(lineSettingText(mode(LineMode::Time), 20), "Time 2.0 s");
    EXPECT_EQ(lineSettingText(mode(LineMode::Time), 65535), "Time 6553.5 s");
    EXPECT_EQ(lineSettingText(mode(LineMode::Altitude), 150), "Altitude 150 m");
    EXPECT_EQ(lineSettingText(mode(LineMode::Altitude), 150, UnitSystem::Imperial),
              "Altitude 492 ft (150 m)");
    EXPECT_EQ(lineSettingText(9, 150), "Mode 9 (unknown)");
}

TEST(SettingWarnings, TheDefaultsRaiseNoneAndEachUnlikelySettingRaisesOne) {
    DeviceSettings s;
    EXPECT_TRUE(settingWarnings(s).empty());
    EXPECT_TRUE(settingWarnings(s, 720.0).empty());  // the 150 m main is below 720 m

    s.lineBValue = 0;
    auto w = settingWarnings(s);
    ASSERT_EQ(w.size(), 1U);
    EXPECT_NE(w[0].find("Line B fires at 0 m"), std::string::npos) << w[0];

    s.lineBValue = 29;
    w = settingWarnings(s);
    ASSERT_EQ(w.size(), 1U);
    EXPECT_NE(w[0].find("below 30 m"), std::string::npos) << w[0];
    s.lineBValue = 30;
    EXPECT_TRUE(settingWarnings(s).empty());

    // A time-mode line at 2.5 s is no altitude at all.
    s.lineAMode = mode(LineMode::Time);
    s.lineAValue = 25;
    EXPECT_TRUE(settingWarnings(s).empty());

    s.lineBMode = mode(LineMode::Time);
    s.lineBValue = 25;
    w = settingWarnings(s);
    ASSERT_EQ(w.size(), 1U);
    EXPECT_NE(w[0].find("Line A and Line B are set the same (Time 2.5 s)"), std::string::npos)
        << w[0];

    // In Apogee mode the value plays no part; two disabled lines are warned of elsewhere.
    s.lineAMode = s.lineBMode = mode(LineMode::Apogee);
    s.lineBValue = 99;
    EXPECT_EQ(settingWarnings(s).size(), 1U);
    s.lineAMode = s.lineBMode = mode(LineMode::Disabled);
    EXPECT_TRUE(settingWarnings(s).empty());

    s.lineAMode = mode(LineMode::Apogee);
    s.lineBMode = mode(LineMode::Altitude);
    s.lineBValue = 800;
    w = settingWarnings(s, 719.6);
    ASSERT_EQ(w.size(), 1U);
    EXPECT_NE(w[0].find("(720 m): it would fire at apogee"), std::string::npos) << w[0];
    EXPECT_TRUE(settingWarnings(s).empty());  // no flights of this rocket known
}
