// SPDX-License-Identifier: MIT
#include "analysis/flight_statistics.h"

#include <algorithm>
#include <cmath>

#include "analysis/descent_rates.h"
#include "analysis/flight_events.h"
#include "analysis/flight_track.h"
#include "data/reading.h"

namespace tevusb::analysis {

namespace {

constexpr std::size_t kMinFlightReadings = 20;
constexpr double kLandingRefineBackS = 1.0;
constexpr double kLandingRefineAheadS = 1.5;

double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

// The graph's peak rule: a first value that is not a number is never replaced, later
// ones never win; otherwise the first position of the largest value.
std::optional<std::size_t> graphPeak(const double* v, std::size_t n) {
    if (n == 0 || !std::isfinite(v[0])) {
        return std::nullopt;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (v[i] > v[best]) {
            best = i;
        }
    }
    if (!std::isfinite(v[best])) {
        return std::nullopt;
    }
    return best;
}

class Builder {
  public:
    Builder(const data::DataSet& set, const FlightTrack& track) : m_set(set), m_track(track) {}

    FlightPoint point(std::size_t i) const {
        FlightPoint p;
        p.sample = static_cast<int>(i);
        p.timeS = data::reading::timeOfSample(i);
        p.aglM = i < m_set.altitudeAgl.size() ? finiteOr(m_set.altitudeAgl[i], m_track.agl[i])
                                              : m_track.agl[i];
        const double v = i < m_set.velocity.size() ? m_set.velocity[i] : 0.0;
        p.velocityMs = finiteOr(v, 0.0);
        return p;
    }

    std::optional<LineEvent> line(std::uint8_t bit) const {
        std::optional<LineEvent> event;
        const auto& flags = m_set.lineFlags;
        const std::size_t n = std::min(flags.size(), m_track.size());
        for (std::size_t i = 0; i < n; ++i) {
            if ((flags[i] & bit) == 0) {
                continue;
            }
            if (!event) {
                event = LineEvent{point(i), 0};
            }
            ++event->samples;
        }
        return event;
    }

  private:
    const data::DataSet& m_set;
    const FlightTrack& m_track;
};

void addDescent(FlightStatistics& s, const FlightTrack& track, std::size_t top,
                const std::optional<Landing>& landing) {
    const std::size_t n = track.size();
    const std::size_t end = landing ? landing->at.sample : n - 1;
    std::size_t drogueFrom = top;
    if (s.lineA && static_cast<std::size_t>(s.lineA->at.sample) > top) {
        drogueFrom = static_cast<std::size_t>(s.lineA->at.sample);
    }
    std::optional<std::size_t> mainFrom;
    if (s.lineB) {
        mainFrom = std::max(top, static_cast<std::size_t>(s.lineB->at.sample));
    }
    std::optional<DescentFit> last;
    if (!mainFrom || *mainFrom > drogueFrom) {
        const std::size_t drogueTo = mainFrom ? std::min(*mainFrom, end) : end;
        if (auto fit = fitDescent(track, drogueFrom, drogueTo)) {
            s.drogueRateMs = fit->rateMs;
            last = fit;
        }
    }
    if (mainFrom && *mainFrom < end) {
        if (auto fit = fitDescent(track, *mainFrom, end)) {
            s.mainRateMs = fit->rateMs;
            last = fit;
        }
    }
    if (!landing) {
        return;
    }
    double t = landing->at.timeS;
    if (last && last->line.slope < 0.0) {
        const double meet = (landing->level - last->line.intercept) / last->line.slope;
        const double earliest = std::max(t - kLandingRefineBackS, track.time(top));
        // A recording cut just after touchdown must not place the landing after its end.
        const double latest = std::min(t + kLandingRefineAheadS, track.time(track.size() - 1));
        if (std::isfinite(meet) && meet >= earliest && meet <= latest) {
            t = meet;
        }
    }
    s.landingTimeS = t;
}

void addFlight(FlightStatistics& s, const FlightTrack& track, const Builder& build) {
    double spread = 0.0;
    for (std::size_t i = 0; i < track.size(); ++i) {
        spread = std::max(spread, std::fabs(track.height(i)));
    }
    if (!(spread > track.band)) {
        s.flags |= kFlatData | kNoLaunch;
        return;
    }
    const auto launch = findLaunch(track);
    if (!launch) {
        s.flags |= kNoLaunch;
        return;
    }
    s.launchTimeS = launch->timeS;
    const std::size_t top = highestFrom(track, launch->sample);
    const auto burnout = findBurnout(track, launch->sample, top);
    if (burnout) {
        s.burnoutTimeS = burnout->timeS;
        if (const auto peak = findPeakAcceleration(track, launch->timeS, burnout->timeS)) {
            s.maxAcceleration = build.point(peak->at.sample);
            s.maxAccelerationMs2 = peak->ms2;
        }
    }
    // The descent starts at the apogee the graph labels when that lies in this flight.
    std::size_t descentFrom = top;
    if (s.apogee && static_cast<std::size_t>(s.apogee->sample) >= launch->sample) {
        descentFrom = static_cast<std::size_t>(s.apogee->sample);
    }
    const auto landing = findLanding(track, descentFrom);
    if (!landing) {
        s.flags |= kNoLanding;
    }
    addDescent(s, track, descentFrom, landing);
}

// Altitudes near the end of the double range (only a set built by hand has them) can
// overflow a fit; a result that is no number is one we could not determine.
void dropNonFinite(FlightStatistics& s) {
    for (auto* v :
         {&s.launchTimeS, &s.burnoutTimeS, &s.landingTimeS, &s.drogueRateMs, &s.mainRateMs}) {
        if (*v && !std::isfinite(**v)) {
            v->reset();
        }
    }
    if (!std::isfinite(s.maxAccelerationMs2)) {
        s.maxAcceleration.reset();
        s.maxAccelerationMs2 = 0.0;
    }
    if (!std::isfinite(s.apogeeMslM)) {
        s.apogeeMslM = s.apogee ? s.apogee->aglM : 0.0;
    }
}

}  // namespace

FlightStatistics computeStatistics(const data::DataSet& set) {
    FlightStatistics s;
    s.setIndex = set.setIndex;
    // Every series is read up to the shortest, so a set assembled by hand with a
    // missing series cannot make us read past an end.
    std::size_t n = set.altitudeAgl.size();
    n = std::min({n, set.altitudeMsl.size(), set.velocity.size()});
    s.readings = n;
    if (n == 0) {
        s.flags = kNoReadings | kTooShort | kNoLaunch;
        return s;
    }
    s.durationS = static_cast<double>(n - 1) / data::reading::kSamplesPerSecond;
    s.groundMslM = finiteOr(set.altitudeMsl[0], 0.0);
    s.groundKnown = std::isfinite(set.altitudeMsl[0]);

    const FlightTrack track = FlightTrack::fromSeries(set.altitudeAgl.data(), n);
    const Builder build(set, track);

    if (const auto j = graphPeak(set.altitudeAgl.data(), n)) {
        s.apogee = build.point(*j);
        s.apogeeMslM = finiteOr(set.altitudeMsl[*j], s.groundMslM + s.apogee->aglM);
    }
    if (const auto m = graphPeak(set.velocity.data(), n)) {
        s.maxVelocity = build.point(*m);
    }
    s.lineA = build.line(data::reading::kLineAFlag);
    s.lineB = build.line(data::reading::kLineBFlag);

    if (n < kMinFlightReadings) {
        s.flags |= kTooShort | kNoLaunch;
        return s;
    }
    if (!track.anyFinite) {
        s.flags |= kFlatData | kNoLaunch;
        return s;
    }
    addFlight(s, track, build);
    dropNonFinite(s);
    return s;
}

}  // namespace tevusb::analysis
