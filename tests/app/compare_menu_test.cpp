// SPDX-License-Identifier: MIT
// View > Compare Flights... opens the comparison on the flight the window shows.
#include <QTableWidget>

#include "app/compare_menu.h"
#include "app/main_menu.h"
#include "app/view_menu.h"
#include "app/view_preferences.h"
#include "app_fixture.h"
#include "ui/compare/compare_flights_window.h"

namespace tevusb::app {
namespace {

struct CompareMenuTest : testing::AppTest {
    void SetUp() override {
        AppTest::SetUp();
        preferenceSettings().clear();
    }
};

TEST_F(CompareMenuTest, OpensOnceWithTheShownFlightAndFollowsTheUnits) {
    openWindow();
    m_prompts.choose(TEVUSB_SAMPLE_FLIGHT);
    trigger(command::kOpen);
    ASSERT_GT(m_store.current.size(), 100u);

    trigger(view_command::kCompareFlights);
    auto* compare = m_window->findChild<ui::CompareFlightsWindow*>();
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->isVisible());
    EXPECT_FALSE(compare->isModal());
    ASSERT_EQ(compare->flights().size(), 1u);
    EXPECT_EQ(compare->flights()[0].name, "sample-flight.tev, set 1")
        << "named as the window names it";
    EXPECT_EQ(compare->flights()[0].set.size(), m_store.current.size());
    EXPECT_TRUE(compare->table()->item(0, 0)->text().endsWith(" m"));

    trigger(view_command::kCompareFlights);
    EXPECT_EQ(m_window->findChildren<ui::CompareFlightsWindow*>().size(), 1);

    trigger(view_command::kImperial);
    EXPECT_TRUE(compare->table()->item(0, 0)->text().endsWith(" ft"));
}

}  // namespace
}  // namespace tevusb::app
