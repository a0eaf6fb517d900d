// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "data/altitude_converter.h"
#include "data/setting_values.h"
#include "data/setting_warnings.h"
#include "settings/device_settings.h"

using namespace tevusb::data;
using tevusb::settings::DeviceSettings;
using tevusb::settings::LineMode;

namespace {

void expectRefused(SettingValue value, const std::string& text, bool whole,
                   const std::string& mentions) {
    const CheckedValue c = whole ? checkWholeNumber(value, text) : checkDecimal(value, text);
    EXPECT_FALSE(c.ok()) << text;
    EXPECT_NE(c.problem.find(std::string(settingName(value))), std::string::npos) << c.problem;
    EXPECT_NE(c.problem.find(mentions), std::string::npos) << c.problem;
}

std::uint8_t mode(LineMode m) {
    return static_cast<std::uint8_t>(m);
}

}  // namespace

TEST(SettingValues, WholeNumbersAreRefusedWhenTheirFieldCannotHoldThem) {
    // What once wrapped silently into 16 bits: 99999 m became 34463 m on the altimeter.
    expectRefused(SettingValue::LineBAltitude, "99999", true, "99999 m is out of range");
    expectRefused(SettingValue::LineBAltitude, "65536", true, "0 to 65535 m");
    expectRefused(SettingValue::LineAAltitude, "-1", true, "-1 m is out of range");
    expectRefused(SettingValue::LineATime, "6554", true, "0 to 6553 s");
    expectRefused(SettingValue::InhibitTime, "abc", true, "\"abc\" is not a number");
    expectRefused(SettingValue::InhibitTime, "", true, "no value");
    expectRefused(SettingValue::LineBTime, "1.5", true, "not a whole number");
    expectRefused(SettingValue::LineBTime, "1e999", true, "out of range");
    expectRefused(SettingValue::LineBTime, "nan", true, "not a number");

    EXPECT_EQ(checkWholeNumber(SettingValue::LineBAltitude, "65535").stored, 65535);
    EXPECT_EQ(checkWholeNumber(SettingValue::LineBAltitude, " 150 ").stored, 150);
    EXPECT_EQ(checkWholeNumber(SettingValue::LineATime, "6553").stored, 65530);
    EXPECT_EQ(checkWholeNumber(SettingValue::InhibitTime, "0").stored, 0);
}

TEST(SettingValues, DecimalSecondsCountInTenths) {
    EXPECT_EQ(checkDecimal(SettingValue::InhibitTime, "6553.5").stored, 65535);
    EXPECT_EQ(checkDecimal(SettingValue::LineATime, "1.5").stored, 15);
    expectRefused(SettingValue::LineATime, "6553.6", false, "seconds from 0 to 6553.5 s");
    expectRefused(SettingValue::LineATime, "0.15", false, "finer than a tenth");
    expectRefused(SettingValue::LineAAltitude, "150.5", false, "not a whole number");
}

TEST(SettingValues, AGroundAltitudeMustBeOneTheSensorCanRead) {
    const int highest = highestGroundAltitude();
    // The thinnest air the sensor reads is about 15 km up.
    EXPECT_GT(highest, 14000);
    EXPECT_LT(highest, 17000);
    EXPECT_GE(AltitudeConverter(0).countForAltitude(highest), 0);
    EXPECT_TRUE(checkWholeNumber(SettingValue::GroundAltitude, std::to_string(highest)).ok());
    expectRefused(SettingValue::GroundAltitude, std::to_string(highest + 1), true, "out of range");
    expectRefused(SettingValue::GroundAltitude, "99999", true, "out of range");
    EXPECT_TRUE(offsetFits(-32768));
    EXPECT_TRUE(offsetFits(32767));
    EXPECT_FALSE(offsetFits(-32769));
    EXPECT_FALSE(offsetFits(-65535));
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
