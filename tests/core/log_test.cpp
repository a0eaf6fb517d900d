// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

#include "support/log_capture.h"

using tevusb::log::logLine;

TEST(DiagnosticLog, LinesFromSeveralThreadsStayWhole) {
    tevusb::testing::LogCapture log;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 500; ++i) {
                logLine("thread ", t, " line ", i, " value ", 0.5 * i);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    std::istringstream lines(log.text());
    std::string line;
    int count = 0;
    std::vector<int> next(4, 0);
    while (std::getline(lines, line)) {
        int t = -1, i = -1;
        double v = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d value %lf", &t, &i, &v), 3) << line;
        ASSERT_TRUE(t >= 0 && t < 4);
        EXPECT_EQ(i, next[static_cast<std::size_t>(t)]++);  // each thread's lines in order
        EXPECT_EQ(v, 0.5 * i);
        ++count;
    }
    EXPECT_EQ(count, 2000);
}

TEST(DiagnosticLog, NumbersAreFormattedLikeDefaultStreams) {
    std::string s;
    for (double v : {0.30000000000000004, 12.345678, 1234.567, 0.0, -2.5, 1e-5, 123456789.0}) {
        tevusb::log::DiagnosticLog::appendNumber(s, v);
        s.push_back(' ');
    }
    EXPECT_EQ(s, "0.3 12.3457 1234.57 0 -2.5 1e-05 1.23457e+08 ");
}

TEST(DiagnosticLog, SilencedSinkDropsEverything) {
    auto& log = tevusb::log::DiagnosticLog::instance();
    std::ostringstream captured;
    std::ostream* previous = log.setSink(nullptr);
    logLine("dropped");
    log.setSink(&captured);
    logLine("kept ", tevusb::log::Hex{255}, ' ', true);
    log.setSink(previous);
    EXPECT_EQ(captured.str(), "kept ff 1\n");
}
