// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

namespace tevusb::simulation {

// A number as simulators write it, whatever the locale: "12.5", "-3", "1.235e4",
// "1.5e-4", "+2", "NaN", "Inf", "-Inf". Blanks around it are allowed; anything else in
// the text makes it no number.
std::optional<double> parseNumber(std::string_view text);

// The text up to the end of a leading number, or 0 when the text does not start with
// one (how a data row is told from a comment whose starter is unknown).
std::size_t leadingNumberLength(std::string_view text);

}  // namespace tevusb::simulation
