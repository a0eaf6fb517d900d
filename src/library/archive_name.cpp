// SPDX-License-Identifier: MIT
#include "library/archive_name.h"

#include <ctime>
#include <regex>

namespace tevusb::library {

namespace {

// Firmware versions are short dotted numbers; anything else is kept out of file names.
std::string safeVersion(const std::string& version) {
    std::string out;
    for (const char c : version) {
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
            c == '.') {
            out.push_back(c);
        }
        if (out.size() >= 16) {
            break;
        }
    }
    return out;
}

}  // namespace

std::string isoUtc(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

std::string archivePathFor(const ArchiveName& name, int attempt) {
    // "2026-12-08T07:35:28Z" -> year folder "2026", stamp "20261208T073528Z"
    std::string stamp;
    for (const char c : name.downloadedAt) {
        if (c != '-' && c != ':') {
            stamp.push_back(c);
        }
    }
    const std::string year = name.downloadedAt.substr(0, 4);
    std::string path = "flights/" + year + "/" + stamp + "-set" + std::to_string(name.setNumber) +
                       "-fw" + safeVersion(name.firmwareVersion) + "-" + name.hashPrefix;
    if (attempt > 1) {
        path += "-" + std::to_string(attempt);
    }
    return path + ".tev";
}

std::optional<ArchiveName> parseArchiveFileName(const std::string& fileName) {
    static const std::regex pattern(
        R"(^(\d{4})(\d{2})(\d{2})T(\d{2})(\d{2})(\d{2})Z-set(\d{1,4})-fw([0-9A-Za-z.]*)-([0-9a-f]{12})(-\d+)?\.tev$)");
    std::smatch m;
    if (!std::regex_match(fileName, m, pattern)) {
        return std::nullopt;
    }
    ArchiveName name;
    name.downloadedAt = m[1].str() + "-" + m[2].str() + "-" + m[3].str() + "T" + m[4].str() + ":" +
                        m[5].str() + ":" + m[6].str() + "Z";
    name.setNumber = std::stoi(m[7].str());
    name.firmwareVersion = m[8].str();
    name.hashPrefix = m[9].str();
    return name;
}

}  // namespace tevusb::library
