// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tevusb::data {

// The verdict of one pre-flight item. The names are what the command line's JSON and the
// library's record carry, so they never change.
enum class CheckStatus { Ok = 0, Warning = 1, NoGo = 2 };

constexpr std::string_view checkStatusName(CheckStatus status) {
    return status == CheckStatus::Ok ? "ok" : status == CheckStatus::Warning ? "warning" : "no-go";
}

// One item of a pre-flight check: "settings", "battery", "memory", "firmware", "pressure".
struct PreflightItem {
    std::string name;
    CheckStatus status = CheckStatus::Ok;
    std::string text;  // one sentence a flyer understands
    bool operator==(const PreflightItem&) const = default;
};

// What a pre-flight check found, as the fronts show it and the library keeps it.
struct PreflightReport {
    std::string profile;
    std::vector<PreflightItem> items;
    std::optional<double> batteryV;
    std::optional<double> groundMslM;
    int flightsOnDevice = 0;
    int flightsNotInLibrary = 0;
    int memoryPacketsUsed = 0;
    bool memoryFull = false;

    // Go when no item says no-go; warnings allowed.
    bool go() const {
        for (const PreflightItem& item : items) {
            if (item.status == CheckStatus::NoGo) {
                return false;
            }
        }
        return !items.empty();
    }
};

constexpr std::string_view verdictName(bool go) {
    return go ? "go" : "no-go";
}

}  // namespace tevusb::data
