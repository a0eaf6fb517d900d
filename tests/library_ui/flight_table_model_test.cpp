// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QSettings>

#include "ui/library/flight_filter_proxy.h"
#include "ui/library/flight_table_model.h"
#include "ui/library/library_units.h"

namespace tevusb::ui {
namespace {

library::FlightRecord flight(std::int64_t id, std::string at, std::string rocket, std::string motor,
                             std::optional<double> apogee, std::string comment = {}) {
    library::FlightRecord r;
    r.id = id;
    r.downloadedAt = std::move(at);
    r.rocket = std::move(rocket);
    r.motor = std::move(motor);
    r.apogeeAglM = apogee;
    r.comment = std::move(comment);
    return r;
}

std::vector<library::FlightRecord> fleet() {
    return {
        flight(1, "2026-05-01T10:00:00Z", "Nova", "H128W", 512.4),
        flight(2, "2026-06-12T14:30:00Z", "Arcas", "G80T", 301.0, "windy"),
        flight(3, "2026-07-04T09:15:00Z", "Nova", "I200", std::nullopt),
        flight(4, "2026-11-20T16:45:00Z", "Brant", "J350", 1203.7, "second H128 reload lost"),
    };
}

std::vector<std::int64_t> shownIds(const FlightFilterProxy& proxy) {
    std::vector<std::int64_t> ids;
    for (int r = 0; r < proxy.rowCount(); ++r) {
        ids.push_back(proxy.index(r, 0).data(FlightTableModel::IdRole).toLongLong());
    }
    return ids;
}

TEST(FlightTableModelTest, TypingFiltersOverEveryFlyerFieldAndTheDateInAnyCase) {
    FlightTableModel model;
    model.setRecords(fleet());
    FlightFilterProxy proxy(&model);
    proxy.sort(FlightTableModel::Date, Qt::AscendingOrder);
    ASSERT_EQ(proxy.rowCount(), 4);

    proxy.setSearch("H128");
    EXPECT_EQ(shownIds(proxy), (std::vector<std::int64_t>{1, 4}));  // motor, and a comment
    proxy.setSearch("h128 nova");
    EXPECT_EQ(shownIds(proxy), (std::vector<std::int64_t>{1}));  // every word must match
    proxy.setSearch("windy");
    EXPECT_EQ(shownIds(proxy), (std::vector<std::int64_t>{2}));
    proxy.setSearch("2026-07");
    EXPECT_EQ(shownIds(proxy), (std::vector<std::int64_t>{3}));
    proxy.setSearch("K550");
    EXPECT_TRUE(shownIds(proxy).empty());
    proxy.setSearch("  ");
    EXPECT_EQ(proxy.rowCount(), 4);
}

TEST(FlightTableModelTest, SortsByDateAndApogeeWithUnknownApogeesLowest) {
    FlightTableModel model;
    model.setRecords(fleet());
    FlightFilterProxy proxy(&model);
    proxy.sort(FlightTableModel::Apogee, Qt::DescendingOrder);
    EXPECT_EQ(shownIds(proxy), (std::vector<std::int64_t>{4, 1, 2, 3}));
    proxy.sort(FlightTableModel::Date, Qt::DescendingOrder);
    EXPECT_EQ(shownIds(proxy), (std::vector<std::int64_t>{4, 3, 2, 1}));
    proxy.sort(FlightTableModel::Rocket, Qt::AscendingOrder);
    EXPECT_EQ(proxy.index(0, FlightTableModel::Rocket).data().toString(), "Arcas");
    // A filter keeps the order chosen.
    proxy.sort(FlightTableModel::Apogee, Qt::AscendingOrder);
    proxy.setSearch("nova");
    EXPECT_EQ(shownIds(proxy), (std::vector<std::int64_t>{3, 1}));
}

TEST(FlightTableModelTest, ApogeeInTheChosenUnitsAndEventsInSeconds) {
    FlightTableModel model;
    std::vector<library::FlightRecord> records = fleet();
    records[0].lineATimeS = 9.84;
    records[0].lineBTimeS = 41.0;
    records[1].lineBTimeS = 12.0;
    model.setRecords(records);
    const auto cell = [&](int row, int column) {
        return model.index(row, column).data().toString();
    };
    EXPECT_EQ(cell(0, FlightTableModel::Apogee), "512 m");
    EXPECT_EQ(cell(2, FlightTableModel::Apogee), "");
    EXPECT_EQ(cell(0, FlightTableModel::Events), "A 9.8 s, B 41.0 s");
    EXPECT_EQ(cell(1, FlightTableModel::Events), "B 12.0 s");
    EXPECT_EQ(cell(3, FlightTableModel::Events), "");
    model.setUnits(analysis::UnitSystem::Imperial);
    EXPECT_EQ(cell(0, FlightTableModel::Apogee), "1681 ft");
    EXPECT_EQ(cell(3, FlightTableModel::Apogee), "3949 ft");

    QSettings().setValue("view/units", "imperial");
    EXPECT_EQ(preferredUnits(), analysis::UnitSystem::Imperial);
    QSettings().setValue("view/units", "nonsense");
    EXPECT_EQ(preferredUnits(), analysis::UnitSystem::Metric);
    QSettings().remove("view/units");
}

TEST(FlightTableModelTest, AnEditChangesTheRowOnlyWhenTheLibraryTookIt) {
    FlightTableModel model;
    model.setRecords(fleet());
    std::vector<std::pair<std::int64_t, library::FlightFields>> asked;
    QString refusal;
    model.setEditor([&](std::int64_t id, const library::FlightFields& f) {
        asked.emplace_back(id, f);
        return refusal;
    });
    const QModelIndex motor = model.index(1, FlightTableModel::Motor);
    EXPECT_TRUE(model.flags(motor) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(1, FlightTableModel::Apogee)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(1, FlightTableModel::Date)) & Qt::ItemIsEditable);

    ASSERT_TRUE(model.setData(motor, " H128W ", Qt::EditRole));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, 2);
    EXPECT_EQ(asked[0].second.motor.value_or("?"), "H128W");
    EXPECT_FALSE(asked[0].second.rocket.has_value());
    EXPECT_EQ(motor.data().toString(), "H128W");
    // The new text is found by the filter at once.
    FlightFilterProxy proxy(&model);
    proxy.setSearch("h128w");
    EXPECT_EQ(proxy.rowCount(), 2);

    refusal = "The index is busy.";
    EXPECT_FALSE(model.setData(model.index(1, FlightTableModel::Comment), "calm", Qt::EditRole));
    EXPECT_EQ(model.index(1, FlightTableModel::Comment).data().toString(), "windy");
    EXPECT_EQ(model.lastEditError(), "The index is busy.");
}

}  // namespace
}  // namespace tevusb::ui
