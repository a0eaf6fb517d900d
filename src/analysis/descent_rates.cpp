// SPDX-License-Identifier: MIT
#include "analysis/descent_rates.h"

#include <algorithm>
#include <cmath>

namespace tevusb::analysis {

namespace {
constexpr double kGravity = 9.81;
constexpr std::size_t kMinSamples = 10;  // a second: fewer leaves the slope mostly noise
constexpr std::size_t kEndTrim = 3;
constexpr double kSettleMarginS = 0.3;
}  // namespace

std::optional<DescentFit> fitDescent(const FlightTrack& track, std::size_t first,
                                     std::size_t last) {
    if (last >= track.size() || last < first + kMinSamples - 1) {
        return std::nullopt;
    }
    const std::size_t length = last - first + 1;
    const LineFit rough = fitLine(track.agl, first + length / 2, last);
    if (!rough.ok) {
        return std::nullopt;
    }
    // Falling onto a parachute approaches its rate like tanh(g t / v): within 5 % after
    // about 2 v / g seconds. A phase too short to trim is fitted whole.
    const double settleS = 2.0 * std::fabs(rough.slope) / kGravity + kSettleMarginS;
    const auto settle = static_cast<std::size_t>(std::min(settleS * 10.0, 1e6));
    std::size_t from = first + settle;
    std::size_t to = last >= first + kEndTrim ? last - kEndTrim : first;
    if (to < from + kMinSamples - 1) {
        // Keep the later part of the phase: it is the steadier one.
        from = first + std::min(settle, length / 2);
        to = last;
        if (to < from + kMinSamples - 1) {
            from = first;
        }
    }
    const LineFit line = fitLine(track.agl, from, to);
    if (!line.ok || !(line.slope < 0.0)) {
        return std::nullopt;
    }
    return DescentFit{-line.slope, line};
}

}  // namespace tevusb::analysis
