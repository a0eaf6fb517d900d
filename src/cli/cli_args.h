// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tevusb::cli {

// The words of one command line after the global options have been taken out.
class CliArgs {
  public:
    explicit CliArgs(std::vector<std::string> words) : m_words(std::move(words)) {}

    bool empty() const { return m_words.empty(); }
    // Takes the next word when it is not an option (take options first).
    std::optional<std::string> takePositional();
    // Takes "--name VALUE" or "--name=VALUE"; nullopt when absent. Sets missingValue when
    // the value is absent. The one-word form carries any text, even one that looks like an
    // option, which is how a program hands stored text on to another.
    std::optional<std::string> takeOption(const std::string& name);
    // Takes "--name"; true when it was there.
    bool takeFlag(const std::string& name);
    // Takes every word that is left, in order (for a command run by another program).
    std::vector<std::string> takeAll();
    // Whatever is left over, for an "unexpected argument" message.
    std::optional<std::string> leftover() const;
    bool missingValue() const { return m_missingValue; }
    // True when every word was taken; otherwise says what is wrong on `err`.
    bool checkDone(std::ostream& err) const;
    // Takes "--set K" (default 0); nullopt, with a message, when K is not a set number.
    std::optional<int> takeSetIndex(std::ostream& err);

  private:
    std::vector<std::string> m_words;
    bool m_missingValue = false;
};

// Parses a whole decimal number (optionally signed) that fits an int.
std::optional<int> parseInt(const std::string& text);

}  // namespace tevusb::cli
