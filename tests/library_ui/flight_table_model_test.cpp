// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QSettings>

#include "library/flight_name.h"
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

// Every column's header, text, sort key, tool tip, alignment and editability for one
// flight with every field given.
TEST(FlightTableModelTest, EachColumnReadsSortsAlignsAndEditsAsItsHeaderSays) {
    library::FlightRecord r = flight(7, "2026-08-09T10:11:12Z", "Nova", "H128W", 512.4, "Windy");
    r.site = "Fairfield";
    r.notes = "Motor Cap Lost";
    r.flightDate = "2026-08-08";
    r.setNumber = 3;
    r.readings = 1234;
    r.firmwareVersion = "1.50";
    r.lineATimeS = 9.84;
    FlightTableModel model;
    model.setRecords({r});
    model.setEditor([](std::int64_t, const library::FlightFields&) { return QString(); });
    using M = FlightTableModel;
    const QString date = M::localDate(r.downloadedAt);
    struct Expected {
        int column;
        const char* header;
        QVariant text;
        QVariant sort;
        QString tip;
        bool right;
        bool editable;
    };
    const Expected expected[] = {
        {M::Date, "Downloaded", date, QString("2026-08-09T10:11:12Z"),
         "Set 3 of its download, 1234 readings, firmware 1.50", false, false},
        {M::Rocket, "Rocket", QString("Nova"), QString("nova"), {}, false, true},
        {M::Motor, "Motor", QString("H128W"), QString("h128w"), {}, false, true},
        {M::Apogee, "Apogee", QString("512 m"), 512.4, {}, true, false},
        {M::Events, "Line A/B", QString("A 9.8 s"), QString("A 9.8 s"),
         "Seconds after the first reading: A 9.8 s", false, false},
        {M::Site, "Site", QString("Fairfield"), QString("fairfield"), {}, false, true},
        {M::Comment, "Comment", QString("Windy"), QString("windy"), {}, false, true},
        {M::Notes, "Notes", QString("Motor Cap Lost"), QString("motor cap lost"), {}, false, true},
        {M::FlightDate, "Flight date", QString("2026-08-08"), QString("2026-08-08"),
         "The day it flew, as you gave it", false, true},
        {M::SetNumber, "Set", 3, 3, {}, true, false},
        {M::Id,
         "Id",
         QVariant::fromValue<qint64>(7),
         QVariant::fromValue<qint64>(7),
         {},
         true,
         false},
    };
    ASSERT_EQ(model.columnCount(), static_cast<int>(std::size(expected)));
    for (const Expected& e : expected) {
        const QModelIndex cell = model.index(0, e.column);
        EXPECT_EQ(model.headerData(e.column, Qt::Horizontal, Qt::DisplayRole).toString(), e.header);
        EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), e.text.toString()) << e.header;
        EXPECT_EQ(cell.data(Qt::EditRole).toString(), e.text.toString()) << e.header;
        EXPECT_EQ(cell.data(M::SortRole), e.sort) << e.header;
        EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), e.tip) << e.header;
        EXPECT_EQ(cell.data(Qt::TextAlignmentRole).isValid(), e.right) << e.header;
        EXPECT_EQ(cell.data(M::IdRole).toLongLong(), 7) << e.header;
        EXPECT_EQ(static_cast<bool>(model.flags(cell) & Qt::ItemIsEditable), e.editable)
            << e.header;
    }
    EXPECT_EQ(model.index(0, M::Rocket).data(Qt::UserRole + 9), QVariant());

    // The defaults a flight without the flyer's date or any line firing reads.
    r.flightDate.clear();
    r.lineATimeS.reset();
    model.setRecords({r});
    EXPECT_EQ(model.index(0, M::FlightDate).data().toString(),
              QString::fromStdString(library::flightDay(r)));
    EXPECT_EQ(model.index(0, M::FlightDate).data(Qt::ToolTipRole).toString(),
              "The download day; double-click to give the day it flew");
    EXPECT_EQ(model.index(0, M::Events).data(Qt::ToolTipRole).toString(), "Neither line fired");
    // Changing the flight date goes to the library as the flight date.
    library::FlightFields asked;
    model.setEditor([&](std::int64_t, const library::FlightFields& f) {
        asked = f;
        return QString();
    });
    ASSERT_TRUE(model.setData(model.index(0, M::FlightDate), "2026-08-01", Qt::EditRole));
    EXPECT_EQ(asked.flightDate.value_or("?"), "2026-08-01");
    EXPECT_FALSE(asked.rocket.has_value());
    EXPECT_FALSE(model.setData(model.index(0, M::Apogee), "1", Qt::EditRole));
}

}  // namespace
}  // namespace tevusb::ui
