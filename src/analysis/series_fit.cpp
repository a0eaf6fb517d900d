// SPDX-License-Identifier: MIT
#include "analysis/series_fit.h"

#include <algorithm>
#include <cmath>

namespace tevusb::analysis {

namespace {

constexpr double kDt = 0.1;

// Sums taken about the middle of the range, so huge indices (two million readings) do
// not cancel away the digits the slope lives in.
LineFit solve(double n, double st, double sy, double stt, double sty, double t0) {
    LineFit fit;
    const double d = n * stt - st * st;
    if (n < 2.0 || !(d > 0.0)) {
        return fit;
    }
    fit.slope = (n * sty - st * sy) / d;
    const double interceptAtT0 = (sy - fit.slope * st) / n;
    fit.intercept = interceptAtT0 - fit.slope * t0;
    fit.ok = std::isfinite(fit.slope) && std::isfinite(fit.intercept);
    return fit;
}

}  // namespace

LineFit fitLine(const std::vector<double>& y, std::size_t first, std::size_t last) {
    if (y.empty() || first > last || last >= y.size()) {
        return {};
    }
    const double mid = 0.5 * static_cast<double>(first + last);
    double st = 0.0, sy = 0.0, stt = 0.0, sty = 0.0;
    for (std::size_t i = first; i <= last; ++i) {
        const double t = (static_cast<double>(i) - mid) * kDt;
        st += t;
        sy += y[i];
        stt += t * t;
        sty += t * y[i];
    }
    return solve(static_cast<double>(last - first + 1), st, sy, stt, sty, mid * kDt);
}

LineFit fitPoints(const std::vector<double>& t, const std::vector<double>& y) {
    const std::size_t n = std::min(t.size(), y.size());
    if (n == 0) {
        return {};
    }
    double mid = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        mid += t[k];
    }
    mid /= static_cast<double>(n);
    double st = 0.0, sy = 0.0, stt = 0.0, sty = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        const double u = t[k] - mid;
        st += u;
        sy += y[k];
        stt += u * u;
        sty += u * y[k];
    }
    return solve(static_cast<double>(n), st, sy, stt, sty, mid);
}

double localSlope(const std::vector<double>& y, std::size_t i, int halfWidth) {
    if (i >= y.size()) {
        return 0.0;
    }
    const auto w = static_cast<std::size_t>(std::max(halfWidth, 1));
    const std::size_t first = i >= w ? i - w : 0;
    const std::size_t last = std::min(y.size() - 1, i + w);
    const LineFit fit = fitLine(y, first, last);
    return fit.ok ? fit.slope : 0.0;
}

double localCurvature(const std::vector<double>& y, std::size_t i, int halfWidth) {
    const auto w = static_cast<std::size_t>(std::max(halfWidth, 1));
    if (i < w || i + w >= y.size()) {
        return 0.0;
    }
    // On a symmetric window the parabola's t^2 coefficient comes from the centred
    // t^2 alone: the odd terms fall out.
    double meanU = 0.0;
    for (std::size_t k = 0; k <= 2 * w; ++k) {
        const double t = (static_cast<double>(k) - static_cast<double>(w)) * kDt;
        meanU += t * t;
    }
    meanU /= static_cast<double>(2 * w + 1);
    double suu = 0.0, suy = 0.0;
    for (std::size_t k = 0; k <= 2 * w; ++k) {
        const double t = (static_cast<double>(k) - static_cast<double>(w)) * kDt;
        const double u = t * t - meanU;
        suu += u * u;
        suy += u * y[i - w + k];
    }
    return suu > 0.0 ? 2.0 * suy / suu : 0.0;
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    return *mid;
}

double noiseSigma(const std::vector<double>& y) {
    if (y.size() < 3) {
        return 0.0;
    }
    std::vector<double> d2(y.size() - 2);
    for (std::size_t i = 1; i + 1 < y.size(); ++i) {
        d2[i - 1] = std::fabs(y[i + 1] - 2.0 * y[i] + y[i - 1]);
    }
    // For Gaussian noise the second difference has sigma * sqrt(6); 1.4826 turns a
    // median absolute value into a standard deviation.
    return 1.4826 * median(std::move(d2)) / std::sqrt(6.0);
}

}  // namespace tevusb::analysis
