// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "simulation/import_error.h"

namespace tevusb::simulation {

// The ways a design file wraps its XML: a zip whose design entry comes first (current
// versions), gzip (older ones), or nothing at all (the oldest).
enum class DesignContainer { Zip, Gzip, Plain };

// Which container `bytes` start like.
DesignContainer designContainerOf(std::string_view bytes);

// Hands the design XML inside `bytes` to `sink` piece by piece (a false answer stops),
// never more than the XML size limit in all. Gives the number of bytes handed on, or
// why the container cannot be read (damaged, truncated, empty, too large).
using XmlSink = std::function<bool(const char* data, std::size_t size)>;
ImportResult<std::size_t> unpackDesign(std::string_view bytes, const std::string& where,
                                       const XmlSink& sink);

}  // namespace tevusb::simulation
