// SPDX-License-Identifier: MIT
// Unit conversions and number texts, also on a desktop with a comma-decimal locale.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/units.h"
#include "support/comma_locale.h"

using namespace tevusb::analysis;

TEST(Units, ConversionsAndSymbols) {
    EXPECT_DOUBLE_EQ(toDisplay(Quantity::Altitude, 304.8, UnitSystem::Imperial), 1000.0);
    EXPECT_DOUBLE_EQ(toDisplay(Quantity::Speed, 3.048, UnitSystem::Imperial), 10.0);
    EXPECT_DOUBLE_EQ(toDisplay(Quantity::FastSpeed, 10.0, UnitSystem::Metric), 36.0);
    EXPECT_DOUBLE_EQ(toDisplay(Quantity::FastSpeed, 44.704, UnitSystem::Imperial), 100.0);
    EXPECT_DOUBLE_EQ(toDisplay(Quantity::Acceleration, 9.144, UnitSystem::Imperial), 30.0);
    EXPECT_DOUBLE_EQ(toDisplay(Quantity::Time, 3.5, UnitSystem::Imperial), 3.5);
    EXPECT_DOUBLE_EQ(toDisplay(Quantity::Altitude, 656.0, UnitSystem::Metric), 656.0);
    for (auto q : {Quantity::Altitude, Quantity::Speed, Quantity::FastSpeed, Quantity::Acceleration,
                   Quantity::Time}) {
        for (auto u : {UnitSystem::Metric, UnitSystem::Imperial}) {
            EXPECT_NEAR(fromDisplay(q, toDisplay(q, 123.456, u), u), 123.456, 1e-9);
        }
    }
    EXPECT_STREQ(unitSymbol(Quantity::FastSpeed, UnitSystem::Imperial), "mph");
    EXPECT_STREQ(unitSymbol(Quantity::Acceleration, UnitSystem::Metric), "m/s\u00b2");
    EXPECT_STREQ(unitSymbol(Quantity::Speed, UnitSystem::Imperial), "ft/s");
}

TEST(Units, FormattingIgnoresTheUserLocale) {
    const tevusb::testing::CommaLocale german;
    if (!german.active()) {
        GTEST_SKIP() << tevusb::testing::CommaLocale::kName << " is not installed";
    }
    EXPECT_EQ(formatQuantity(Quantity::Altitude, 656.0, UnitSystem::Imperial), "2152.2 ft");
    EXPECT_EQ(formatQuantity(Quantity::Altitude, 1234.56, UnitSystem::Metric, 2), "1234.56 m");
    EXPECT_EQ(formatNumber(-0.04, 1), "0.0");
    EXPECT_EQ(formatNumber(-0.06, 1), "-0.1");
    EXPECT_EQ(formatNumber(2.5, 0), "2");
    EXPECT_EQ(formatNumber(1e300, 1).size(), 303u);
    EXPECT_EQ(formatNumber(std::nan(""), 1), "\u2014");
    EXPECT_EQ(formatQuantity(Quantity::Speed, INFINITY, UnitSystem::Metric), "\u2014");
}

TEST(Units, SystemNames) {
    UnitSystem u = UnitSystem::Metric;
    EXPECT_TRUE(parseUnitSystem("imperial", u));
    EXPECT_EQ(u, UnitSystem::Imperial);
    EXPECT_STREQ(unitSystemName(u), "imperial");
    EXPECT_FALSE(parseUnitSystem("Imperial ", u));
    EXPECT_FALSE(parseUnitSystem("", u));
    EXPECT_EQ(u, UnitSystem::Imperial);
    EXPECT_TRUE(parseUnitSystem(unitSystemName(UnitSystem::Metric), u));
    EXPECT_EQ(u, UnitSystem::Metric);
}
