// SPDX-License-Identifier: MIT
// The coast drag fit on flights with a known k, at several launch-site altitudes and
// noise levels, and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/coast_drag.h"
#include "analysis/coast_drag_json.h"
#include "analysis/flight_statistics.h"
#include "analysis/standard_atmosphere.h"

using namespace tevusb;

namespace {

// A flight at 10 readings per second: 2 s on the pad, 80 m/s² for 1.6 s, a coast with
// drag k (standard atmosphere above a site `siteMsl` high), then 15 m/s down to the
// ground. Integrated finely, independently of the fit's own steps.
data::DataSet flight(double k, double siteMsl, double noiseM, unsigned seed, double boostS = 1.6,
                     double endS = 200.0) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, noiseM);
    const double rho0 = analysis::standardDensity(siteMsl);
    std::vector<double> agl;
    double h = 0.0, v = 0.0;
    const double dt = 0.0005;
    bool landed = false;
    for (int sample = 0; sample < 2000 && !landed; ++sample) {
        const double t = sample * 0.1;
        if (t > endS) {
            break;
        }
        agl.push_back(h + (noiseM > 0.0 ? noise(random) : 0.0));
        for (int s = 0; s < 200; ++s) {
            const double tt = t + s * dt - 2.0;
            double a = 0.0;
            if (tt < 0.0) {
                a = 0.0;
            } else if (tt < boostS) {
                a = 80.0;
            } else if (v > -15.0) {
                a = -9.80665 - k * v * std::fabs(v) * analysis::standardDensity(siteMsl + h) / rho0;
            } else {
                v = -15.0;
            }
            v += a * dt;
            h += v * dt;
            if (tt > boostS && h < 0.0) {
                h = 0.0;
                v = 0.0;
                landed = sample > 0;
            }
        }
    }
    for (int i = 0; i < 40; ++i) {
        agl.push_back(noiseM > 0.0 ? noise(random) : 0.0);
    }
    // As the altimeter's sets are: above the first reading, and that reading is noisy.
    data::DataSet set;
    for (double a : agl) {
        set.altitudeMsl.push_back(a + siteMsl);
        set.altitudeAgl.push_back(a - agl.front());
    }
    set.velocity.assign(agl.size(), 0.0);
    for (std::size_t i = 1; i + 1 < agl.size(); ++i) {
        set.velocity[i] = (agl[i + 1] - agl[i - 1]) / 0.2;
    }
    set.lineFlags.assign(agl.size(), 0);
    return set;
}

analysis::CoastDrag fit(const data::DataSet& set) {
    return analysis::fitCoastDrag(set, analysis::computeStatistics(set));
}

TEST(CoastDrag, RecoversKnownDragAtSeveralSitesAndNoiseLevels) {
    for (double k : {0.0008, 0.003}) {
        for (double site : {0.0, 1500.0, 3000.0}) {
            for (double noise : {0.0, 0.5, 1.5}) {
                SCOPED_TRACE("k " + std::to_string(k) + " site " + std::to_string(site) +
                             " noise " + std::to_string(noise));
                const auto drag = fit(flight(k, site, noise, 7));
                ASSERT_TRUE(drag.fit) << drag.reason;
                EXPECT_NEAR(drag.fit->kPerM, k, k * (noise < 1.0 ? 0.04 : 0.1));
                EXPECT_LT(drag.fit->residualM, noise + 0.3);
                // The site is the ground level, not one noisy first reading.
                EXPECT_NEAR(drag.siteDensityKgM3, analysis::standardDensity(site), 2e-4);
            }
        }
    }
}

TEST(CoastDrag, DragCoefficientFromMassAndArea) {
    // Cd 0.5 for a 1.2 kg rocket of 57 mm at a 1000 m site.
    const double area = 3.14159265358979 * 0.057 * 0.057 / 4.0;
    const double k = analysis::standardDensity(1000.0) * 0.5 * area / (2.0 * 1.2);
    auto drag = fit(flight(k, 1000.0, 0.5, 3));
    ASSERT_TRUE(drag.fit) << drag.reason;
    analysis::setRocket(drag, 1.2, area, 0.48);
    ASSERT_TRUE(drag.cd);
    EXPECT_NEAR(*drag.cd, 0.5, 0.025);
    const auto j = analysis::coastDragJson(drag);
    EXPECT_DOUBLE_EQ(j.at("cd").get<double>(), *drag.cd);
    EXPECT_EQ(j.at("sim_cd").get<double>(), 0.48);
    EXPECT_TRUE(j.at("reason").is_null());

    // Without the area there is k but no Cd, and JSON says null rather than guessing.
    analysis::setRocket(drag, 1.2, std::nullopt, std::nullopt);
    EXPECT_FALSE(drag.cd);
    EXPECT_TRUE(analysis::coastDragJson(drag).at("cd").is_null());
    EXPECT_TRUE(analysis::coastDragJson(drag).at("reference_area_m2").is_null());
}

TEST(CoastDrag, RefusesFlightsWithoutAFittableCoast) {
    // Boost only: the recording ends while the motor still burns.
    auto boost = fit(flight(0.001, 0.0, 0.5, 1, 30.0, 5.0));
    EXPECT_FALSE(boost.fit);
    EXPECT_FALSE(boost.reason.empty());
    EXPECT_TRUE(analysis::coastDragJson(boost).at("k_per_m").is_null());

    // Hovering: a slow rise to 40 m that stays there is no launch, so no coast.
    data::DataSet hover = flight(0.001, 0.0, 0.0, 2, 0.0, 30.0);
    hover.altitudeAgl.clear();
    for (int i = 0; i < 400; ++i) {
        hover.altitudeAgl.push_back(std::min(40.0, i * 0.2) + 0.3 * std::sin(i * 0.7));
    }
    hover.altitudeMsl = hover.altitudeAgl;
    hover.velocity.assign(400, 0.0);
    hover.lineFlags.assign(400, 0);
    const auto hovering = fit(hover);
    EXPECT_FALSE(hovering.fit);
    EXPECT_EQ(hovering.reason, "no launch found, so no coast to fit");

    // A very draggy rocket stops within a second of burnout.
    const auto shortCoast = fit(flight(0.2, 0.0, 0.3, 3));
    EXPECT_FALSE(shortCoast.fit);
    EXPECT_NE(shortCoast.reason.find("too short"), std::string::npos) << shortCoast.reason;

    // A balloon-slow climb of minutes after a boost is no coast to fit (and would take
    // seconds to try).
    data::DataSet slow = flight(0.001, 0.0, 0.0, 5);
    const auto top = static_cast<std::size_t>(analysis::computeStatistics(slow).apogee->sample);
    const double apogee = slow.altitudeAgl[top];
    for (int i = 0; i < 1500; ++i) {
        slow.altitudeAgl.insert(slow.altitudeAgl.begin() + static_cast<std::ptrdiff_t>(top),
                                apogee - (1500 - i) * 0.01);
    }
    slow.altitudeMsl = slow.altitudeAgl;
    slow.velocity.assign(slow.altitudeAgl.size(), 0.0);
    slow.lineFlags.assign(slow.altitudeAgl.size(), 0);
    const auto stalled = fit(slow);
    EXPECT_FALSE(stalled.fit);
    EXPECT_NE(stalled.reason.find("longer than a ballistic coast"), std::string::npos)
        << stalled.reason;

    // Noise of metres on a short, low-drag coast leaves k unknown.
    const auto noisy = fit(flight(0.0002, 0.0, 6.0, 4, 0.6));
    EXPECT_FALSE(noisy.fit);
    EXPECT_FALSE(noisy.reason.empty());
}

TEST(StandardAtmosphere, DensityMatchesTheTable) {
    EXPECT_NEAR(analysis::standardDensity(0.0), 1.2250, 5e-4);
    EXPECT_NEAR(analysis::standardDensity(1000.0), 1.1117, 5e-4);
    EXPECT_NEAR(analysis::standardDensity(3000.0), 0.9093, 5e-4);
    EXPECT_NEAR(analysis::standardDensity(11000.0), 0.3639, 5e-4);
    EXPECT_NEAR(analysis::standardDensity(15000.0), 0.1937, 5e-4);  // geopotential height
}

}  // namespace
