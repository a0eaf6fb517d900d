// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "data/altitude_converter.h"
#include "data/setting_values.h"

using namespace tevusb::data;

namespace {

void expectRefused(SettingValue value, const std::string& text, bool whole,
                   const std::string& mentions) {
    const CheckedValue c = whole ? checkWholeNumber(value, text) : checkDecimal(value, text);
    EXPECT_FALSE(c.ok()) << text;
    EXPECT_NE(c.problem.find(std::string(settingName(value))), std::string::npos) << c.problem;
    EXPECT_NE(c.problem.find(mentions), std::string::npos) << c.problem;
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
