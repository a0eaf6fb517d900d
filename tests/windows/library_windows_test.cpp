// SPDX-License-Identifier: MIT
// Where the flight library lives on Windows, and that it works in a folder whose name no
// ANSI code page holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "library/flight_library.h"
#include "library/library_location.h"
#include "library_fixture.h"
#include "support/temp_dir.h"

namespace tevusb::library {
namespace {

// Sets a wide environment variable for the scope, restoring what was there.
class ScopedWideEnv {
  public:
    ScopedWideEnv(const wchar_t* name, const wchar_t* value) : m_name(name) {
        if (const wchar_t* old = ::_wgetenv(name)) {
            m_old = old;
        }
        ::_wputenv_s(name, value != nullptr ? value : L"");
    }
    ~ScopedWideEnv() { ::_wputenv_s(m_name, m_old ? m_old->c_str() : L""); }
    ScopedWideEnv(const ScopedWideEnv&) = delete;
    ScopedWideEnv& operator=(const ScopedWideEnv&) = delete;

  private:
    const wchar_t* m_name;
    std::optional<std::wstring> m_old;
};

TEST(LibraryLocationWindows, OptionThenTevusbLibraryThenLocalAppData) {
    const std::wstring local = L"C:\\Users\\J\u00fcrgen \u03a3\\AppData\\Local";
    ScopedWideEnv appData(L"LOCALAPPDATA", local.c_str());
    ScopedWideEnv chosen(L"TEVUSB_LIBRARY", L"D:\\Club \u00e9t\u00e9");
    // XDG and HOME mean nothing here.
    ScopedWideEnv xdg(L"XDG_DATA_HOME", L"C:\\xdg");

    EXPECT_EQ(resolveLibraryFolder(std::string("E:\\mine")), std::filesystem::path(L"E:\\mine"));
    // The option's text is UTF-8, as both programs' command lines give it.
    EXPECT_EQ(resolveLibraryFolder(std::string("E:\\Fl\xc3\xbcge \xce\xa9")),
              std::filesystem::path(L"E:\\Fl\u00fcge \u03a9"));
    EXPECT_EQ(resolveLibraryFolder(std::nullopt), std::filesystem::path(L"D:\\Club \u00e9t\u00e9"));
    {
        ScopedWideEnv none(L"TEVUSB_LIBRARY", nullptr);
        EXPECT_EQ(resolveLibraryFolder(std::nullopt), std::filesystem::path(local) / L"tevusb");
        // A relative value is no place for a library.
        ScopedWideEnv relative(L"LOCALAPPDATA", L"AppData\\Local");
        EXPECT_TRUE(resolveLibraryFolder(std::nullopt).empty());
        ScopedWideEnv unset(L"LOCALAPPDATA", nullptr);
        EXPECT_TRUE(resolveLibraryFolder(std::nullopt).empty());
    }
}

TEST(LibraryWindows, ArchivesListsAndExportsInAWideFolder) {
    tevusb::testing::TempDir dir;
    const auto folder = dir.path() / L"J\u00fcrgen \u03a3\u0436" / L"tevusb";
    std::int64_t first = 0;
    {
        FlightLibrary flights(folder);
        ASSERT_TRUE(flights.open().ok());
        const auto archived = flights.archiveDownload(tevusb::testing::simulatedDownload(2));
        ASSERT_EQ(archived.size(), 2u);
        for (const auto& item : archived) {
            ASSERT_TRUE(item.outcome.ok()) << item.outcome.message;
        }
        first = archived.front().outcome.id;
    }
    // The index was written where the name says, and a second opening finds it.
    EXPECT_TRUE(std::filesystem::exists(folder));
    FlightLibrary again(folder);
    ASSERT_TRUE(again.open().ok());
    EXPECT_EQ(again.list().size(), 2u);
    const auto target = dir.path() / L"\u0424\u043b\u0430\u0439\u0442.csv";
    const Outcome exported = again.exportFlight(first, ExportFormat::Csv, target);
    ASSERT_TRUE(exported.ok()) << exported.message;
    EXPECT_GT(std::filesystem::file_size(target), 100u);
}

}  // namespace
}  // namespace tevusb::library
