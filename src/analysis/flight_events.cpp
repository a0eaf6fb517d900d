// SPDX-License-Identifier: MIT
#include "analysis/flight_events.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/series_fit.h"

namespace tevusb::analysis {

namespace {
constexpr std::size_t kSustainSamples = 5;  // a climb must stay up half a second
constexpr std::size_t kClimbFitSamples = 6;
constexpr std::size_t kMaxRiseSamples = 30;  // any motor lifts past the launch height in 3 s
constexpr double kLaunchBackLimitS = 0.5;
constexpr int kSlopeHalfWidth = 3;
constexpr int kCurvatureMaxHalfWidth = 5;
constexpr int kCurvatureMinHalfWidth = 4;
constexpr std::size_t kBoostSamples = 10;
constexpr std::size_t kCoastSamples = 15;
constexpr std::size_t kLandedSamples = 15;  // the altimeter records 2 s after touchdown
constexpr std::size_t kLevelSamples = 10;
constexpr double kLandedSlope = 1.5;  // m/s: slower than any parachute
constexpr double kLandedSlopeSigmas = 3.5;
}  // namespace

std::optional<TrackEvent> findLaunch(const FlightTrack& track) {
    const std::size_t n = track.size();
    const double line = track.launchHeight;
    std::size_t c = 0;
    std::size_t b = 0;
    for (;;) {
        while (c < n && !(track.height(c) > line)) {
            ++c;
        }
        if (c + 1 >= n) {
            return std::nullopt;
        }
        const std::size_t end = std::min(n, c + kSustainSamples);
        std::size_t k = c;
        while (k < end && track.height(k) > line) {
            ++k;
        }
        if (k < end) {
            c = k;  // a spike, not a climb
            continue;
        }
        // The walk back is bounded, so a long series hovering between the band and the
        // launch height costs a few steps per crossing, not a walk to its start.
        b = c;
        while (b > 0 && c - b <= kMaxRiseSamples && track.height(b - 1) > track.band) {
            --b;
        }
        if (c - b <= kMaxRiseSamples) {
            break;
        }
        // Carried up a hill or driven: far too slow for a motor. Look past it.
        while (c < n && track.height(c) > line) {
            ++c;
        }
    }
    TrackEvent launch{b, track.time(b)};
    if (b == 0) {
        return launch;
    }
    // Early in the boost h = a/2 (t - t0)^2, so sqrt(h) meets zero at the ignition.
    std::vector<double> ts, ys;
    for (std::size_t i = b; i < std::min(n, b + kClimbFitSamples); ++i) {
        ts.push_back(track.time(i));
        ys.push_back(std::sqrt(std::max(0.0, track.height(i))));
    }
    const LineFit fit = fitPoints(ts, ys);
    if (fit.ok && fit.slope > 0.0) {
        const double t0 = -fit.intercept / fit.slope;
        const double earliest = std::max(0.0, track.time(b) - kLaunchBackLimitS);
        launch.timeS = std::clamp(t0, earliest, track.time(b));
        launch.sample = static_cast<std::size_t>(std::lround(launch.timeS * 10.0));
    }
    return launch;
}

std::size_t highestFrom(const FlightTrack& track, std::size_t from) {
    std::size_t best = from;
    for (std::size_t i = from; i < track.size(); ++i) {
        if (track.agl[i] > track.agl[best]) {
            best = i;
        }
    }
    return best;
}

namespace {

// Velocity line (v = b + 2 c t) of the parabola through agl[first..last].
bool velocityLine(const FlightTrack& track, std::size_t first, std::size_t last, double& v0,
                  double& dv) {
    if (last < first + 3) {
        return false;
    }
    const double mid = 0.5 * static_cast<double>(first + last);
    // Normal equations of y = p0 + p1 u + p2 u^2 about the middle of the range.
    double s[5] = {0, 0, 0, 0, 0}, r[3] = {0, 0, 0};
    for (std::size_t i = first; i <= last; ++i) {
        const double u = (static_cast<double>(i) - mid) / 10.0;
        double p = 1.0;
        for (int k = 0; k < 5; ++k) {
            s[k] += p;
            if (k < 3) {
                r[k] += p * track.agl[i];
            }
            p *= u;
        }
    }
    // Odd moments vanish on a symmetric range: p1 is separate, p0/p2 form a 2x2 system.
    const double det = s[0] * s[4] - s[2] * s[2];
    if (!(det > 0.0) || !(s[2] > 0.0)) {
        return false;
    }
    const double p1 = r[1] / s[2];
    const double p2 = (s[0] * r[2] - s[2] * r[0]) / det;
    v0 = p1 - 2.0 * p2 * mid / 10.0;  // velocity at t = 0
    dv = 2.0 * p2;
    return std::isfinite(v0) && std::isfinite(dv);
}

}  // namespace

std::optional<TrackEvent> findBurnout(const FlightTrack& track, std::size_t launch,
                                      std::size_t top) {
    if (top <= launch + 1) {
        return std::nullopt;
    }
    std::size_t m = launch;
    double best = -1e300;
    for (std::size_t i = launch; i <= top; ++i) {
        const double v = localSlope(track.agl, i, kSlopeHalfWidth);
        if (v > best) {
            best = v;
            m = i;
        }
    }
    TrackEvent burnout{m, track.time(m)};
    // The windowed slope rounds the kink between boost and coast and peaks late; the
    // two branches' velocity lines cross where the motor stopped. The first split is the
    // peak; once the lines give a time, split there and fit again, so that neither
    // branch keeps samples of the other.
    std::size_t split = m;
    for (int pass = 0; pass < 3; ++pass) {
        const std::size_t boostFirst =
            std::max(launch + 1, split >= kBoostSamples ? split - kBoostSamples : 0);
        double vb = 0, ab = 0, vc = 0, ac = 0;
        if (split < 1 || split + kCoastSamples >= track.size() ||
            !velocityLine(track, boostFirst, split - (pass == 0 ? 1 : 0), vb, ab) ||
            !velocityLine(track, split + 1, split + kCoastSamples, vc, ac) || !(ab > ac)) {
            break;
        }
        const double t = (vc - vb) / (ab - ac);
        if (!(t >= std::max(track.time(launch), track.time(m) - 0.5) && t <= track.time(m) + 0.2)) {
            break;
        }
        burnout.timeS = t;
        burnout.sample = static_cast<std::size_t>(std::lround(t * 10.0));
        split = static_cast<std::size_t>(std::floor(t * 10.0));
    }
    return burnout;
}

std::optional<PeakAcceleration> findPeakAcceleration(const FlightTrack& track, double launchS,
                                                     double burnoutS) {
    const auto first = static_cast<std::size_t>(std::max(0.0, std::ceil(launchS * 10.0)));
    const auto last = static_cast<std::size_t>(std::max(0.0, std::floor(burnoutS * 10.0)));
    if (last <= first || last >= track.size()) {
        return std::nullopt;
    }
    // Only windows wholly inside the boost: one reaching into the pad or the coast
    // bends the parabola.
    const int w = std::min(kCurvatureMaxHalfWidth, static_cast<int>((last - first) / 2));
    if (w >= kCurvatureMinHalfWidth) {
        std::optional<PeakAcceleration> peak;
        for (std::size_t i = first + static_cast<std::size_t>(w);
             i + static_cast<std::size_t>(w) <= last; ++i) {
            const double a = localCurvature(track.agl, i, w);
            if (!peak || a > peak->ms2) {
                peak = PeakAcceleration{{i, track.time(i)}, a};
            }
        }
        return peak;
    }
    // A boost under a second leaves windows too narrow to tell noise from thrust; its
    // mean acceleration then comes from h = a/2 (t - launch)^2, a one-number fit.
    double num = 0.0, den = 0.0;
    for (std::size_t i = first; i <= last; ++i) {
        const double dt = track.time(i) - launchS;
        const double q = 0.5 * dt * dt;
        num += track.height(i) * q;
        den += q * q;
    }
    if (!(den > 0.0)) {
        return std::nullopt;
    }
    const std::size_t middle = (first + last) / 2;
    return PeakAcceleration{{middle, track.time(middle)}, num / den};
}

namespace {

std::optional<Landing> findRest(const FlightTrack& track, std::size_t after) {
    const std::size_t n = track.size();
    if (n < kLandedSamples || n - kLandedSamples <= after) {
        return std::nullopt;
    }
    const double level = median(std::vector<double>(
        track.agl.end() - static_cast<std::ptrdiff_t>(kLevelSamples), track.agl.end()));
    std::size_t s = n - 1;
    while (s > after + 1 && std::fabs(track.agl[s - 1] - level) <= track.band) {
        --s;
    }
    if (n - s < kLandedSamples) {
        return std::nullopt;
    }
    // The stretch's first samples may still be the last of the descent inside the band;
    // the rest of it tells a rest from a slow descent. The slope limit grows with the
    // noise only when a very noisy sensor leaves more than that on the slope.
    const std::size_t length = n - s;
    const std::size_t tail = std::max(kLandedSamples, length - length / 4);
    const LineFit rest = fitLine(track.agl, n - tail, n - 1);
    const double t = static_cast<double>(tail);
    const double slopeNoise = track.noise / std::sqrt(t * (t * t - 1.0) / 12.0 * 0.01);
    if (!rest.ok ||
        std::fabs(rest.slope) > std::max(kLandedSlope, kLandedSlopeSigmas * slopeNoise)) {
        return std::nullopt;
    }
    return Landing{{s, track.time(s)}, level};
}

// A recording cut soon after touchdown has no 1.5 s of rest to look at, yet the flyer sees
// the curve back at 0 m: the descent has come down to the launch site's level (inside the
// band that counts as the ground at the pad) and every sample from there to the end stays
// there, however few they are. Level is then the launch site's, the pad's median.
std::optional<Landing> findTouchdownAtEnd(const FlightTrack& track, std::size_t after) {
    const std::size_t n = track.size();
    const auto onGround = [&](std::size_t i) { return std::fabs(track.height(i)) <= track.band; };
    if (n == 0 || n - 1 <= after || !onGround(n - 1)) {
        return std::nullopt;
    }
    std::size_t s = n - 1;
    while (s > after + 1 && onGround(s - 1)) {
        --s;
    }
    return Landing{{s, track.time(s)}, track.ground};
}

}  // namespace

std::optional<Landing> findLanding(const FlightTrack& track, std::size_t after) {
    if (auto rest = findRest(track, after)) {
        return rest;
    }
    return findTouchdownAtEnd(track, after);
}

}  // namespace tevusb::analysis
