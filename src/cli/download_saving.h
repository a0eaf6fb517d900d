// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "data/data_set_store.h"

namespace tevusb::cli {

// "setN", or "setN-K" with the smallest K >= 2 for which neither BASE.tev nor (when `csv`)
// BASE.csv exists in `folder`: a download never replaces a file already there.
std::string freeSetBase(const std::filesystem::path& folder, int setNumber, bool csv);

// Writes set k of the store under a free name (and its CSV), printing "Saved PATH" lines.
bool saveSetFiles(data::DataSetStore& store, int k, const std::filesystem::path& folder, bool csv,
                  std::ostream& out, std::ostream& err);

// Archives every set of the downloaded store into the library, one line per set. The
// result says, per set, whether the library now holds it; `failure` gets the first reason
// a set could not be archived. `altimeter` (the device path) links the latest pre-flight
// check made on it to the flight made after it.
std::vector<bool> archiveDownload(const data::DataSetStore& store,
                                  const std::string& firmwareVersion, std::ostream& out,
                                  std::string& failure, const std::string& altimeter = {});

}  // namespace tevusb::cli
