// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "data/data_set_store.h"
#include "data/export_format.h"
#include "packet_builder.h"
#include "support/comma_locale.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

using tevusb::data::DataSetStore;
using tevusb::data::export_format::escapeXml;
using tevusb::testing::LogCapture;
using tevusb::testing::makePacket;
using tevusb::testing::readAll;
using tevusb::testing::TempDir;

namespace {

// Four readings with every flag combination; offset -5. The expected numbers below were
// computed separately from the conversion and smoothing formulas and printed with %g.
DataSetStore smallStore() {
    DataSetStore s;
    s.packets = {makePacket(0, {1}),
                 makePacket(2, {13384, 0x8000 | 13000, 0x4000 | 12500, 0xC000 | 12000})};
    s.settings.adcOffset = -5;
    s.settings.build();
    s.comments = {"He said \"5 < 6\" & 'ok'>"};
    return s;
}

const char* kExpectedCsv =
    "Time, ADC, Voltage, Pressure, Altitude (MSL), Altitude (AGL), Smooth Velocity (km/h), Line A, "
    "Line B\n"
    "0,13384,4.08295,101.288,3.10485,0,1950.23,,\n"
    "0.1,13000,3.96576,98.6835,222.236,219.132,3510.42,Line A,\n"
    "0.2,12500,3.81317,95.2927,514.693,511.589,4758.57,,Line B\n"
    "0.3,12000,3.66058,91.9019,815.702,812.597,5757.09,Line A,Line B\n";

const char* kExpectedXml =
    "<xml>\n"
    "\t<flightdata version=\"1.0\">\n"
    "\t\t<device name=\"TEV USB 1.2\" />\n"
    "\t\t<comments>\n"
    "\t\t\tHe said &quot;5 &lt; 6&quot; &amp; 'ok'&gt;\n"
    "\t\t</comments>\n"
    "\t\t<data format=\"MSL\">\n"
    "\t\t\t<MSL t=\"0\" z=\"3.10485\" />\n"
    "\t\t\t<MSL t=\"0.1\" z=\"222.236\" />\n"
    "\t\t\t<MSL t=\"0.2\" z=\"514.693\" />\n"
    "\t\t\t<MSL t=\"0.3\" z=\"815.702\" />\n"
    "\t\t</data>\n"
    "\t</flightdata>\n"
    "</xml>";

}  // namespace

TEST(Export, CsvAndXmlByteForByte) {
    TempDir dir;
    DataSetStore s = smallStore();
    LogCapture quiet;
    ASSERT_TRUE(s.exportCsv(dir / "a.csv", 0));
    EXPECT_EQ(readAll(dir / "a.csv"), kExpectedCsv);
    ASSERT_TRUE(s.exportXml(dir / "a.xml", 0));
    EXPECT_EQ(readAll(dir / "a.xml"), kExpectedXml);
    EXPECT_EQ(s.current.setIndex, 0);  // exporting selects the set
}

TEST(Export, NumbersIgnoreTheUserLocale) {
    TempDir dir;
    DataSetStore s = smallStore();
    LogCapture quiet;
    bool csv = false;
    bool xml = false;
    {
        const tevusb::testing::CommaLocale german;
        ASSERT_TRUE(german.active()) << "the " << tevusb::testing::CommaLocale::kName
                                     << " locale must be installed (scripts/install-deps.sh)";
        csv = s.exportCsv(dir / "a.csv", 0);
        xml = s.exportXml(dir / "a.xml", 0);
    }
    ASSERT_TRUE(csv && xml);
    EXPECT_EQ(readAll(dir / "a.csv"), kExpectedCsv);
    EXPECT_EQ(readAll(dir / "a.xml"), kExpectedXml);
}

TEST(Export, EmptySetsAndMissingComments) {
    TempDir dir;
    DataSetStore s = smallStore();
    LogCapture quiet;
    // Set 3 does not exist: header only, empty data element, no comment block.
    ASSERT_TRUE(s.exportCsv(dir / "e.csv", 3));
    EXPECT_EQ(readAll(dir / "e.csv"), std::string(tevusb::data::export_format::kCsvHeader) + "\n");
    ASSERT_TRUE(s.exportXml(dir / "e.xml", 3));
    EXPECT_EQ(readAll(dir / "e.xml"),
              "<xml>\n\t<flightdata version=\"1.0\">\n\t\t<device name=\"TEV USB 1.2\" />\n"
              "\t\t<data format=\"MSL\">\n\t\t</data>\n\t</flightdata>\n</xml>");
    EXPECT_EQ(s.current.setIndex, 3);

    s.comments = {""};
    ASSERT_TRUE(s.exportXml(dir / "c.xml", 0));
    EXPECT_NE(readAll(dir / "c.xml").find("\t\t<comments>\n\t\t\t\n\t\t</comments>\n"),
              std::string::npos);
}

TEST(Export, TimeColumnAndMultiLineComments) {
    TempDir dir;
    DataSetStore s;
    auto first = makePacket(2);
    for (int j = 1; j <= 31; ++j) {
        first.setWord(j, static_cast<std::uint16_t>(13000 - j));
    }
    s.packets = {first};
    s.comments = {"line one\r\nline two"};
    LogCapture quiet;
    ASSERT_TRUE(s.exportCsv(dir / "t.csv", 0));
    const std::string csv = readAll(dir / "t.csv");
    std::vector<std::string> times;
    std::size_t at = csv.find('\n') + 1;
    while (at < csv.size()) {
        times.push_back(csv.substr(at, csv.find(',', at) - at));
        at = csv.find('\n', at) + 1;
    }
    ASSERT_EQ(times.size(), 31u);
    EXPECT_EQ(times[0], "0");
    EXPECT_EQ(times[3], "0.3");
    EXPECT_EQ(times[10], "1");
    EXPECT_EQ(times[30], "3");
    ASSERT_TRUE(s.exportXml(dir / "t.xml", 0));
    EXPECT_NE(readAll(dir / "t.xml").find("\t\t\tline one\r\nline two\n"), std::string::npos);
}

TEST(Export, EscapeXmlReplacesOnlyTheFourCharacters) {
    EXPECT_EQ(escapeXml("<a href=\"x\">&amp;'\t\x01"),
              "&lt;a href=&quot;x&quot;&gt;&amp;amp;'\t\x01");
    EXPECT_EQ(escapeXml(""), "");
}

TEST(Export, UnwritableTargetFailsWithoutChangingTheSelection) {
    TempDir dir;
    DataSetStore s = smallStore();
    LogCapture quiet;
    s.selectSet(0);
    EXPECT_FALSE(s.exportCsv(dir / "missing" / "x.csv", 5));
    EXPECT_FALSE(s.exportXml(dir.path(), 5));
    EXPECT_EQ(s.current.setIndex, 0);
}

TEST(Export, AFailedExportSaysWhichFileAndWhy) {
    TempDir dir;
    DataSetStore s = smallStore();
    LogCapture quiet;
    struct Case {
        std::filesystem::path target;
        bool csv;
        std::string reason;
    };
    std::filesystem::create_directory(dir / "folder.csv");
    const Case cases[] = {
        {dir / "missing" / "x.csv", true, "its folder does not exist"},
        {dir / "folder.csv", true, "it is a folder"},
        {dir / "missing" / "x.xml", false, "its folder does not exist"},
    };
    for (const Case& c : cases) {
        tevusb::data::SaveError error;
        EXPECT_FALSE(c.csv ? s.exportCsv(c.target, 0, error) : s.exportXml(c.target, 0, error));
        EXPECT_EQ(error.reason, c.reason);
        EXPECT_EQ(error.message, "Cannot write " + c.target.string() + ": " + c.reason + ".");
    }
    // A good write leaves the error empty.
    tevusb::data::SaveError error;
    ASSERT_TRUE(s.exportCsv(dir / "good.csv", 0, error));
    EXPECT_TRUE(error.message.empty());
}
