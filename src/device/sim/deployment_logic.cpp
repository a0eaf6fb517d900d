// SPDX-License-Identifier: MIT
#include "device/sim/deployment_logic.h"

#include <algorithm>
#include <cmath>

#include "data/altitude_converter.h"

namespace tevusb::device::sim {

namespace {
// The ground estimate lags this many samples behind, so the first second of a boost
// never lifts the ground before the launch is recognised.
constexpr int kGroundLag = 10;
// The slope is the climb rate in m/s over the last half second: short enough to show
// the descent that has just begun, long enough to calm the sensor noise.
constexpr int kSlopeSpan = 5;
constexpr int kStillSpan = 30;  // three seconds without movement: landed in a tree
constexpr double kStillBand = 1.5;
constexpr int kMinClimbSamples = 10;
}  // namespace

DeploymentLogic::DeploymentLogic(const FlightRules& rules) : m_rules(rules) {}

double DeploymentLogic::filtered() const {
    return m_smoothed.back();
}

std::vector<DeploymentEvent> DeploymentLogic::feed(std::uint16_t count) {
    const int i = m_samples++;
    std::vector<DeploymentEvent> events;
    if (m_ended) {
        return events;
    }
    const data::AltitudeConverter converter(m_rules.adcOffset);
    m_altitudes.push_back(converter.altitude(count & 0x3FFF));
    const auto window = std::min<std::size_t>(kFilterLength, m_altitudes.size());
    double sum = 0.0;
    for (std::size_t k = m_altitudes.size() - window; k < m_altitudes.size(); ++k) {
        sum += m_altitudes[k];
    }
    m_smoothed.push_back(sum / static_cast<double>(window));

    if (!launched()) {
        const int groundSamples = std::max(1, i + 1 - kGroundLag);
        double groundSum = 0.0;
        for (int k = std::max(0, groundSamples - 50); k < groundSamples; ++k) {
            groundSum += m_altitudes[static_cast<std::size_t>(k)];
        }
        m_ground = groundSum / std::min(groundSamples, 50);
        if (filtered() - m_ground > kLaunchHeight) {
            m_launchSample = i;
            events.push_back({Reply::LaunchDetected, 0, i});
        }
    }
    if (!launched()) {
        return events;
    }
    const double agl = filtered() - m_ground;

    if (!apogeeDetected()) {
        m_highest = std::max(m_highest, agl);
        if (i - m_launchSample >= kMinClimbSamples && agl < m_highest - kApogeeDrop) {
            m_apogeeSample = i;
            const double slope =
                (filtered() - m_smoothed[static_cast<std::size_t>(i - kSlopeSpan)]) *
                (10.0 / kSlopeSpan);
            const auto value = static_cast<std::int16_t>(
                std::isfinite(slope) ? std::clamp(std::lround(slope), -32768L, 32767L) : 0L);
            events.push_back({Reply::ApogeeDetected, value, i});
        }
    }

    const int elapsed = i - m_launchSample;
    if (elapsed >= m_rules.inhibitTime) {
        if (m_lineASample < 0 && lineDue(m_rules.lineAMode, m_rules.lineAValue, agl)) {
            m_lineASample = i;
            events.push_back({Reply::LineAFired, 0, i});
        }
        if (m_lineBSample < 0 && lineDue(m_rules.lineBMode, m_rules.lineBValue, agl)) {
            m_lineBSample = i;
            events.push_back({Reply::LineBFired, 0, i});
        }
    }

    if (apogeeDetected()) {
        const bool down = agl < kLandedHeight;
        const bool still =
            i - m_apogeeSample >= kStillSpan &&
            std::abs(filtered() - m_smoothed[static_cast<std::size_t>(i - kStillSpan)]) <
                kStillBand;
        if (down || still) {
            m_ended = true;
            events.push_back({Reply::EndOfLaunch, 0, i});
        }
    }
    return events;
}

bool DeploymentLogic::lineDue(settings::LineMode mode, std::uint16_t value, double agl) const {
    const int elapsed = m_samples - 1 - m_launchSample;
    switch (mode) {
        case settings::LineMode::Time:
            return elapsed >= value;
        case settings::LineMode::Apogee:
            return apogeeDetected();
        case settings::LineMode::Altitude:
            return apogeeDetected() && agl <= value;
        case settings::LineMode::Disabled:
            break;
    }
    return false;
}

std::uint8_t DeploymentLogic::firingFlags() const {
    const int last = m_samples - 1;
    std::uint8_t flags = 0;
    if (m_lineASample >= 0 && last - m_lineASample < kFiringSamples) {
        flags |= 2;
    }
    if (m_lineBSample >= 0 && last - m_lineBSample < kFiringSamples) {
        flags |= 1;
    }
    return flags;
}

}  // namespace tevusb::device::sim
