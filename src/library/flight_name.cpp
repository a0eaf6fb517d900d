// SPDX-License-Identifier: MIT
#include "library/flight_name.h"

#include <cctype>

#include "library/local_time.h"

namespace tevusb::library {

namespace {

int digits(const std::string& text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i])) == 0) {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Typed fields keep whatever blanks the flyer left around them; a name does not.
std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

bool isCalendarDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return false;
    }
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 1900 || month < 1 || month > 12 || day < 1) {
        return false;
    }
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string flightDay(const FlightRecord& record) {
    if (!record.flightDate.empty()) {
        return record.flightDate;
    }
    return localMinuteText(record.downloadedAt).substr(0, 10);
}

std::string flightName(const FlightRecord& record) {
    const std::string rocket = trimmed(record.rocket);
    const std::string motor = trimmed(record.motor);
    std::string who;
    if (!rocket.empty() && !motor.empty()) {
        who = rocket + " / " + motor;
    } else if (!rocket.empty() || !motor.empty()) {
        who = rocket + motor;
    } else {
        who = "Flight #" + std::to_string(record.id);
    }
    const std::string day = flightDay(record);
    return who + (day.empty() ? "" : ", " + day) + ", set " + std::to_string(record.setNumber);
}

std::string fileFlightName(const std::string& fileName, int k) {
    return fileName + ", set " + std::to_string(k + 1);
}

}  // namespace tevusb::library
