// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <vector>

#include "simulation/import_error.h"

namespace tevusb::simulation {

// The lines of a UTF-8 text (LF or CRLF, a leading byte-order mark dropped), without
// their ends; refused when one is longer than the line limit or there are too many.
ImportResult<std::vector<std::string_view>> splitLines(std::string_view text,
                                                       const std::string& where);

// `text` without blanks (space, tab) at either end.
std::string_view trimBlanks(std::string_view text);

}  // namespace tevusb::simulation
