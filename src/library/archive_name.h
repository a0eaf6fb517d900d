// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace tevusb::library {

// What an archive file's name records, so that a rebuild restores a flight's download
// time, set number and firmware version from the file alone.
struct ArchiveName {
    std::string downloadedAt;  // ISO 8601 UTC, "2026-12-08T07:35:28Z"
    int setNumber = 1;
    std::string firmwareVersion;  // empty when unknown
    std::string hashPrefix;       // the first 12 hex digits of the flight's hash
};

// "2026-12-08T07:35:28Z" for a time point (whole seconds, UTC).
std::string isoUtc(std::chrono::system_clock::time_point when);

// "flights/2026/20261208T073528Z-set1-fw1.50-0123456789ab.tev"; `attempt` > 1 adds
// "-K" before the extension for the rare clash of two different files.
std::string archivePathFor(const ArchiveName& name, int attempt = 1);

// Reads a name made by archivePathFor (the file name alone); nothing for other names.
std::optional<ArchiveName> parseArchiveFileName(const std::string& fileName);

}  // namespace tevusb::library
