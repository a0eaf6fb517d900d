// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "graph/series_scan.h"
#include "graph/set_view.h"

namespace tevusb::graph {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The peak as it is defined: a later value replaces the candidate only when larger.
int firstLargest(const std::vector<double>& s) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[best] < s[i]) {
            best = i;
        }
    }
    return static_cast<int>(best);
}

TEST(SeriesScan, ExtentAtEveryLengthAndPositionOfTheExtremes) {
    for (std::size_t n = 1; n <= 11; ++n) {
        for (std::size_t at = 0; at < n; ++at) {
            std::vector<double> v(n, 3.0);
            v[at] = -7.5;
            v[(at + 1) % n] = n > 1 ? 12.25 : -7.5;
            const SeriesExtent e = scanExtent(v.data(), n);
            EXPECT_EQ(e.low, -7.5) << n << " " << at;
            EXPECT_EQ(e.high, n > 1 ? 12.25 : -7.5) << n << " " << at;
            EXPECT_TRUE(e.finite);
            EXPECT_EQ(largestValue(v.data(), n), n > 1 ? 12.25 : -7.5);
        }
    }
}

TEST(SeriesScan, NaNAndInfinityMakeTheRunWildWhereverTheyStand) {
    for (std::size_t at = 0; at < 9; ++at) {
        for (const double wild : {kNaN, kInf, -kInf}) {
            std::vector<double> v = {1, 2, 3, 4, 5, 6, 7, 8, 9};
            v[at] = wild;
            EXPECT_FALSE(scanExtent(v.data(), v.size()).finite) << at << " " << wild;
        }
    }
    const std::vector<double> big = {1e308, -1e308, 1e308, 0, 0};
    EXPECT_TRUE(scanExtent(big.data(), big.size()).finite);
}

TEST(PeakIndex, MatchesTheDefinitionWithTiesNaNAndInfinities) {
    const std::vector<std::vector<double>> cases = {
        {kNaN, 5.0, 9.0},
        {1.0, kNaN, 5.0, 5.0},
        {-kInf, kInf, kInf, 3.0},
        {2.0, 2.0, 2.0, 2.0, 2.0, 2.0},
        {0.0, -0.0, 0.0},
        {-0.0, 0.0},
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 3},
        {9, 1, 2, 3, 4, 5, 6, 7, 8, kNaN, 9},
        {-5, -4, -3, -2, -1, -1, kNaN, kNaN, kNaN},
    };
    for (const auto& s : cases) {
        EXPECT_EQ(peakIndex(s), firstLargest(s)) << s.size();
    }
    std::vector<double> noisy(10'001);
    std::uint32_t seed = 99;
    for (auto& x : noisy) {
        seed = seed * 1664525u + 1013904223u;
        x = static_cast<double>(seed >> 22);  // many ties at the top
    }
    EXPECT_EQ(peakIndex(noisy), firstLargest(noisy));
}

}  // namespace
}  // namespace tevusb::graph
