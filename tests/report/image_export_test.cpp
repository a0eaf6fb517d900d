// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "graph/flight_graph.h"
#include "report/image_export.h"
#include "report_test_support.h"

namespace tevusb::report {
namespace {

struct ImageExportTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        testing::loadSample(store);
    }
    std::filesystem::path file(const char* name) const {
        return std::filesystem::path(dir.filePath(QString::fromLatin1(name)).toStdString());
    }
    QTemporaryDir dir;
    data::DataSetStore store;
};

// The picture must be the window's own: the same pixels as the set view the main window
// draws into its buffer at that size.
TEST_F(ImageExportTest, PngIsPixelForPixelTheWindowsSetView) {
    const QSize size(640, 400);
    const QImage png = QImage::fromData(encodePng(store.current, size, GraphOptions{}), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), size);

    surface::DisplaySurface surface;
    ASSERT_TRUE(surface.create(size.width(), size.height()));
    graph::FlightGraph graph(store, surface);
    graph.setClientSize(size.width(), size.height());
    graph.ShowSet(0);
    graph.RedrawGraph();
    const QImage window = surface.snapshot().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), window);
}

TEST_F(ImageExportTest, SvgParsesAndCarriesTheSizeAndTheLabels) {
    const QByteArray svg = encodeSvg(store.current, QSize(800, 500), GraphOptions{});
    QXmlStreamReader xml(svg);
    QString width;
    QString viewBox;
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("svg")) {
                width = xml.attributes().value("width").toString();
                viewBox = xml.attributes().value("viewBox").toString();
            } else if (xml.name() == QLatin1String("text")) {
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            }
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_FALSE(width.isEmpty());
    EXPECT_EQ(viewBox, QStringLiteral("0 0 800 500"));
    EXPECT_TRUE(texts.contains(QStringLiteral("Data set: 1"))) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Smoothed altitude")));
}

TEST_F(ImageExportTest, FormatComesFromTheExtensionAndSizesAreBounded) {
    EXPECT_EQ(imageFormatFor("a/b.PNG"), ImageFormat::Png);
    EXPECT_EQ(imageFormatFor("flight.svg"), ImageFormat::Svg);
    EXPECT_FALSE(imageFormatFor("flight.jpg").has_value());
    EXPECT_FALSE(imageFormatFor("png").has_value());

    for (const QSize bad : {QSize(0, 100), QSize(100, -5), QSize(20000, 100), QSize(63, 64)}) {
        const auto path = file("bad.png");
        EXPECT_FALSE(writeGraphImage(path, ImageFormat::Png, store.current, bad, {}).empty());
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_TRUE(encodeSvg(store.current, bad, {}).isEmpty());
    }
    EXPECT_TRUE(validImageSize(QSize(kMaxImageSide, kMinImageSide)));
}

TEST_F(ImageExportTest, WritingReplacesAFileWholeOrLeavesItAlone) {
    const auto path = file("graph.png");
    {
        QFile old(QString::fromStdString(path.string()));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    EXPECT_EQ(writeGraphImage(path, ImageFormat::Png, store.current, QSize(300, 200), {}), "");
    EXPECT_EQ(QImage(QString::fromStdString(path.string())).size(), QSize(300, 200));

    // A folder that is not there: one line saying so, and nothing left behind anywhere.
    const auto missing = file("no/such/graph.svg");
    const std::string problem =
        writeGraphImage(missing, ImageFormat::Svg, store.current, QSize(300, 200), {});
    EXPECT_NE(problem.find("no/such/graph.svg"), std::string::npos) << problem;
    EXPECT_EQ(problem.find('\n'), std::string::npos);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList{QStringLiteral("graph.png")});
}

TEST_F(ImageExportTest, AnEmptySetGivesTheBackgroundOnly) {
    data::DataSet empty;
    const QImage image = renderGraphImage(empty, QSize(200, 100), {});
    ASSERT_EQ(image.size(), QSize(200, 100));
    QImage background(image.size(), QImage::Format_RGB32);
    background.fill(0xFFB4B4FFu);
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), background);
}

}  // namespace
}  // namespace tevusb::report
