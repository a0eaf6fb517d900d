// SPDX-License-Identifier: MIT
#include "library/local_time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace tevusb::library {

namespace {

// The local broken-down time of `at`. The zone's offset is looked up once per hour of
// stamps, not once per stamp: a library's flights cluster on flying days.
bool toLocal(std::time_t at, std::tm& local) {
#if defined(_WIN32)
    return ::localtime_s(&local, &at) == 0;
#else
    thread_local std::time_t cachedHour = -1;
    thread_local long cachedOffset = 0;
    const std::time_t hour = at - at % 3600;
    if (hour != cachedHour) {
        std::tm zone{};
        if (::localtime_r(&hour, &zone) == nullptr) {
            return false;
        }
        cachedHour = hour;
        cachedOffset = zone.tm_gmtoff;
    }
    const std::time_t shifted = at + cachedOffset;
    return ::gmtime_r(&shifted, &local) != nullptr;
#endif
}

}  // namespace

std::string localMinuteText(const std::string& utc) {
    int year = 0;
    unsigned month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, used = 0;
    if (std::sscanf(utc.c_str(), "%4d-%2u-%2uT%2d:%2d:%2dZ%n", &year, &month, &day, &hour, &minute,
                    &second, &used) != 6 ||
        used != static_cast<int>(utc.size())) {
        return utc;
    }
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{year}, std::chrono::month{month},
                              std::chrono::day{day}};
    if (!date.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 60) {
        return utc;
    }
    const std::time_t at =
        system_clock::to_time_t(sys_days{date} + hours{hour} + minutes{minute} + seconds{second});
    std::tm local{};
    if (!toLocal(at, local)) {
        return utc;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

}  // namespace tevusb::library
