// SPDX-License-Identifier: MIT
#include "analysis/coast_drag.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "analysis/flight_track.h"
#include "analysis/series_fit.h"
#include "analysis/standard_atmosphere.h"
#include "analysis/units.h"

namespace tevusb::analysis {

namespace {

constexpr double kGravity = 9.80665;
constexpr double kAfterBurnoutS = 0.5;  // the motor's tail-off and the rod's wobble settle
constexpr std::size_t kMinSamples = 15;
constexpr double kSampleS = 0.1;
constexpr int kSubsteps = 2;
constexpr double kMaxRelativeError = 0.3;
constexpr int kMaxIterations = 60;
// Far above any rocket's coast (one to 10 km coasts some 45 s); a longer "coast" is no
// ballistic flight, and fitting it would cost seconds.
constexpr double kMaxCoastS = 120.0;

using Params = std::array<double, 3>;  // launch-relative altitude and velocity at the
                                       // coast's first sample, k

// Altitudes of the ballistic model at the coast's samples.
class Ballistic {
  public:
    Ballistic(double siteMslM, std::size_t samples) : m_site(siteMslM), m_samples(samples) {
        m_siteDensity = standardDensity(siteMslM);
    }

    double siteDensity() const { return m_siteDensity; }

    void heights(const Params& p, std::vector<double>& out) const {
        out.resize(m_samples);
        double h = p[0];
        double v = p[1];
        const double k = p[2];
        const double dt = kSampleS / kSubsteps;
        auto accel = [&](double hh, double vv) {
            return -kGravity -
                   k * vv * std::fabs(vv) * standardDensity(m_site + hh) / m_siteDensity;
        };
        for (std::size_t i = 0; i < m_samples; ++i) {
            out[i] = h;
            for (int s = 0; s < kSubsteps; ++s) {
                const double a1 = accel(h, v);
                const double h2 = h + 0.5 * dt * v, v2 = v + 0.5 * dt * a1;
                const double a2 = accel(h2, v2);
                const double h3 = h + 0.5 * dt * v2, v3 = v + 0.5 * dt * a2;
                const double a3 = accel(h3, v3);
                const double h4 = h + dt * v3, v4 = v + dt * a3;
                const double a4 = accel(h4, v4);
                h += dt / 6.0 * (v + 2.0 * v2 + 2.0 * v3 + v4);
                v += dt / 6.0 * (a1 + 2.0 * a2 + 2.0 * a3 + a4);
            }
        }
    }

  private:
    double m_site;
    std::size_t m_samples;
    double m_siteDensity = 1.0;
};

double sumSquares(const Ballistic& model, const Params& p, const std::vector<double>& y,
                  std::vector<double>& scratch) {
    model.heights(p, scratch);
    double sum = 0.0;
    for (std::size_t i = 0; i < y.size(); ++i) {
        const double r = scratch[i] - y[i];
        sum += r * r;
    }
    return std::isfinite(sum) ? sum : HUGE_VAL;
}

// Solves the 3x3 system a x = b by Cramer's rule; false when it is singular.
bool solve3(const std::array<std::array<double, 3>, 3>& a, const Params& b, Params& x) {
    auto det = [](const std::array<std::array<double, 3>, 3>& m) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det(a);
    if (!std::isfinite(d) || std::fabs(d) < 1e-300) {
        return false;
    }
    for (int c = 0; c < 3; ++c) {
        auto m = a;
        for (int r = 0; r < 3; ++r) {
            m[r][c] = b[r];
        }
        x[c] = det(m) / d;
    }
    return true;
}

struct Normal {
    std::array<std::array<double, 3>, 3> jtj{};
    Params jtr{};
};

Normal normalEquations(const Ballistic& model, const Params& p, const std::vector<double>& y) {
    std::vector<double> base, moved;
    model.heights(p, base);
    const Params step = {0.01, 0.01, std::max(1e-7, 1e-3 * p[2])};
    std::array<std::vector<double>, 3> jac;
    for (int j = 0; j < 3; ++j) {
        Params q = p;
        q[j] += step[j];
        model.heights(q, moved);
        jac[j].resize(y.size());
        for (std::size_t i = 0; i < y.size(); ++i) {
            jac[j][i] = (moved[i] - base[i]) / step[j];
        }
    }
    Normal n;
    for (std::size_t i = 0; i < y.size(); ++i) {
        const double r = base[i] - y[i];
        for (int a = 0; a < 3; ++a) {
            n.jtr[a] += jac[a][i] * r;
            for (int b = 0; b < 3; ++b) {
                n.jtj[a][b] += jac[a][i] * jac[b][i];
            }
        }
    }
    return n;
}

// Levenberg-Marquardt from `p`, k kept at zero or above.
Params refine(const Ballistic& model, Params p, const std::vector<double>& y) {
    std::vector<double> scratch;
    double cost = sumSquares(model, p, y, scratch);
    double lambda = 1e-3;
    for (int it = 0; it < kMaxIterations; ++it) {
        const Normal n = normalEquations(model, p, y);
        bool improved = false;
        while (lambda < 1e12) {
            auto a = n.jtj;
            for (int d = 0; d < 3; ++d) {
                a[d][d] += lambda * std::max(n.jtj[d][d], 1e-12);
            }
            Params delta;
            if (!solve3(a, {-n.jtr[0], -n.jtr[1], -n.jtr[2]}, delta)) {
                lambda *= 10.0;
                continue;
            }
            Params q = {p[0] + delta[0], p[1] + delta[1], std::max(0.0, p[2] + delta[2])};
            const double qCost = sumSquares(model, q, y, scratch);
            if (qCost < cost) {
                const bool done = cost - qCost < 1e-12 * (1.0 + cost);
                p = q;
                cost = qCost;
                lambda = std::max(lambda / 10.0, 1e-9);
                improved = !done;
                break;
            }
            lambda *= 10.0;
        }
        if (!improved) {
            break;
        }
    }
    return p;
}

std::string seconds(double s) {
    return formatNumber(s, 1) + " s";
}

}  // namespace

CoastDrag fitCoastDrag(const data::DataSet& set, const FlightStatistics& stats) {
    CoastDrag drag;
    const std::size_t n = std::min(
        {set.altitudeAgl.size(), set.altitudeMsl.size(), set.velocity.size(), stats.readings});
    // The site is the ground level the track measures, not one noisy first reading.
    const FlightTrack track =
        n > 0 ? FlightTrack::fromSeries(set.altitudeAgl.data(), n) : FlightTrack{};
    const double site = (stats.groundKnown ? stats.groundMslM : 0.0) + track.ground;
    drag.siteDensityKgM3 = standardDensity(site);
    if (!stats.launchTimeS) {
        drag.reason = "no launch found, so no coast to fit";
        return drag;
    }
    if (!stats.burnoutTimeS) {
        drag.reason = "no burnout found, so no coast to fit";
        return drag;
    }
    if (!stats.apogee || stats.apogee->timeS <= *stats.burnoutTimeS) {
        drag.reason = "no apogee after burnout, so no coast to fit";
        return drag;
    }
    const auto top = static_cast<std::size_t>(stats.apogee->sample);
    if (top + 1 >= n) {
        drag.reason = "the recording ends before apogee";
        return drag;
    }
    const double fromS = *stats.burnoutTimeS + kAfterBurnoutS;
    const auto first = static_cast<std::size_t>(std::ceil(fromS / kSampleS - 1e-9));
    if (first >= top || top - first + 1 < kMinSamples) {
        const double coast = std::max(0.0, stats.apogee->timeS - fromS);
        drag.reason = "the coast (" + seconds(coast) + " from burnout + 0.5 s to apogee) is too " +
                      "short to fit; it needs " + seconds(kMinSamples * kSampleS);
        return drag;
    }
    if (static_cast<double>(top - first) * kSampleS > kMaxCoastS) {
        drag.reason = "the climb from burnout to apogee lasts " +
                      seconds(static_cast<double>(top - first) * kSampleS) +
                      ", longer than a ballistic coast";
        return drag;
    }
    const std::vector<double> y(track.agl.begin() + static_cast<std::ptrdiff_t>(first),
                                track.agl.begin() + static_cast<std::ptrdiff_t>(top) + 1);
    const Ballistic model(site, y.size());

    // Start from the coast's own first height and climb rate, with the k of a grid that
    // fits best; the least-squares refinement then moves all three together.
    Params start = {y.front(), localSlope(track.agl, first, 5), 0.0};
    std::vector<double> scratch;
    double best = sumSquares(model, start, y, scratch);
    for (double k = 1e-5; k < 0.2; k *= 1.5) {
        const Params p = {start[0], start[1], k};
        const double cost = sumSquares(model, p, y, scratch);
        if (cost < best) {
            best = cost;
            start[2] = k;
        }
    }
    const Params p = refine(model, start, y);
    const double cost = sumSquares(model, p, y, scratch);
    const double dof = static_cast<double>(y.size()) - 3.0;
    const Normal normal = normalEquations(model, p, y);
    Params unitK;
    const double sigma2 = cost / dof;
    const double kErr = solve3(normal.jtj, {0.0, 0.0, 1.0}, unitK) && unitK[2] > 0.0
                            ? std::sqrt(sigma2 * unitK[2])
                            : HUGE_VAL;
    CoastDragFit fit;
    fit.kPerM = p[2];
    fit.kStdErrPerM = kErr;
    fit.residualM = std::sqrt(cost / static_cast<double>(y.size()));
    fit.fromS = static_cast<double>(first) * kSampleS;
    fit.toS = static_cast<double>(top) * kSampleS;
    fit.samples = y.size();
    if (!std::isfinite(fit.kPerM) || !std::isfinite(fit.residualM)) {
        drag.reason = "the coast could not be fitted";
        return drag;
    }
    const double allowedResidual = std::max(5.0, 4.0 * track.noise);
    if (fit.residualM > allowedResidual) {
        drag.reason = "the coast does not follow a ballistic path (residual " +
                      formatNumber(fit.residualM, 1) + " m)";
        return drag;
    }
    if (!(fit.kPerM > 0.0) || !(kErr <= kMaxRelativeError * fit.kPerM)) {
        drag.reason = "the coast is too short or too noisy to measure the drag (k = " +
                      formatNumber(fit.kPerM, 5) + " \u00b1 " +
                      formatNumber(std::min(kErr, 1.0), 5) + " /m)";
        return drag;
    }
    drag.fit = fit;
    return drag;
}

void setRocket(CoastDrag& drag, std::optional<double> massKg, std::optional<double> areaM2,
               std::optional<double> simCd) {
    auto positive = [](std::optional<double> v) {
        return v && std::isfinite(*v) && *v > 0.0 ? v : std::nullopt;
    };
    drag.massKg = positive(massKg);
    drag.referenceAreaM2 = positive(areaM2);
    drag.simCd = simCd && std::isfinite(*simCd) ? simCd : std::nullopt;
    drag.cd.reset();
    if (drag.fit && drag.massKg && drag.referenceAreaM2 && drag.siteDensityKgM3 > 0.0) {
        drag.cd =
            2.0 * *drag.massKg * drag.fit->kPerM / (drag.siteDensityKgM3 * *drag.referenceAreaM2);
    }
}

}  // namespace tevusb::analysis
