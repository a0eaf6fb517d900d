// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <vector>

namespace tevusb::analysis {

// A straight line y = intercept + slope * t through samples 0.1 s apart (t = index / 10).
struct LineFit {
    double slope = 0.0;
    double intercept = 0.0;
    bool ok = false;  // false with fewer than two points

    double at(double t) const { return intercept + slope * t; }
};

// Least-squares line through y[first..last] (inclusive), t = index / 10 seconds.
LineFit fitLine(const std::vector<double>& y, std::size_t first, std::size_t last);

// Least-squares line through the points (t[k], y[k]).
LineFit fitPoints(const std::vector<double>& t, const std::vector<double>& y);

// Slope (per second) of the least-squares line through y[i-w .. i+w], cut at the ends.
double localSlope(const std::vector<double>& y, std::size_t i, int halfWidth);

// Second derivative (per second squared) of the least-squares parabola through
// y[i-w .. i+w]; 0 where the window is cut by an end.
double localCurvature(const std::vector<double>& y, std::size_t i, int halfWidth);

// The median of a copy of values; 0 when empty.
double median(std::vector<double> values);

// Standard deviation of the noise on y, from the median absolute second difference: the
// steady motion of a flight cancels in second differences, the noise does not.
double noiseSigma(const std::vector<double>& y);

}  // namespace tevusb::analysis
