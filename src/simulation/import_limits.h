// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace tevusb::simulation {

// A simulation file is untrusted input: every size it can make us spend is bounded.
// The bounds sit far above what a real export holds (a long flight at the simulator's
// finest step is some 50 000 rows of at most 60 columns, under 30 MB of text).
struct ImportLimits {
    static constexpr std::size_t kMaxFileBytes = 128u << 20;
    static constexpr std::size_t kMaxXmlBytes = 256u << 20;  // after decompression
    static constexpr std::size_t kMaxLineBytes = 64u << 10;
    static constexpr std::size_t kMaxRows = 2'000'000;
    static constexpr std::size_t kMaxColumns = 512;
    static constexpr std::size_t kMaxZipEntries = 10'000;
    static constexpr std::size_t kMaxSimulations = 1'000;
    static constexpr std::size_t kMaxEvents = 100'000;
    static constexpr std::size_t kMaxXmlDepth = 256;
};

}  // namespace tevusb::simulation
