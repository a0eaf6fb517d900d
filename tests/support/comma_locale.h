// SPDX-License-Identifier: MIT
#pragma once

#include <clocale>
#include <locale>
#include <string>

namespace tevusb::testing {

// Switches the process to a German locale, whose decimal mark is a comma, for as long as it
// lives, so a test can show that numbers the program writes ignore the user's locale.
// Windows' C library names the locale differently, and MinGW's C++ library knows no named
// locale but "C": there only the C library's locale changes.
class CommaLocale {
  public:
#if defined(_WIN32)
    static constexpr const char* kName = "German_Germany.1252";
#else
    static constexpr const char* kName = "de_DE.UTF-8";
#endif

    CommaLocale() {
        const char* before = std::setlocale(LC_ALL, nullptr);
        m_savedC = before != nullptr ? before : "C";
        m_active = std::setlocale(LC_ALL, kName) != nullptr;
#if !defined(_WIN32)
        if (m_active) {
            m_savedCpp = std::locale::global(std::locale(kName));
        }
#endif
    }
    ~CommaLocale() {
#if !defined(_WIN32)
        if (m_active) {
            std::locale::global(m_savedCpp);
        }
#endif
        std::setlocale(LC_ALL, m_savedC.c_str());
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // False when the system lacks the locale.
    bool active() const {
        return m_active;
    }

  private:
    std::string m_savedC;
    std::locale m_savedCpp;
    bool m_active = false;
};

}  // namespace tevusb::testing
