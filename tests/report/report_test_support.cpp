// SPDX-License-Identifier: MIT
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <QProcess>

#include "graph/synthetic/synthetic_flight.h"

namespace tevusb::report::testing {

void loadSample(data::DataSetStore& store) {
    ASSERT_TRUE(store.loadSetFile(TEVUSB_SAMPLE_FLIGHT));
    ASSERT_TRUE(store.selectSet(0));
    ASSERT_GT(store.current.size(), 0u);
}

void loadFullMemory(data::DataSetStore& store) {
    synthetic::FlightProfile profile;
    profile.readingCount = 128 * 31;
    profile.apogeeAgl = 1500.0;
    store.packets = synthetic::packWords(synthetic::flightWords(profile));
    store.comments.assign(1, "Full memory");
    ASSERT_EQ(store.packets.size(), 128u);
    ASSERT_TRUE(store.selectSet(0));
    ASSERT_EQ(store.current.size(), 3968u);
}

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString& path) {
    return runTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

QString pdfInfo(const QString& path) {
    return runTool(QStringLiteral("pdfinfo"), {path});
}

}  // namespace tevusb::report::testing
