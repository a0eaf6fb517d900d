# SPDX-License-Identifier: MIT
# The tests that are not built or not run for Windows, each with the reason. This is the
# one place such exceptions are made; everything else runs under Wine as on Linux.

# Test sources left out of the Windows build: target, source, reason (no semicolons).
set(tevusb_windows_excluded_sources
  core_tests os_file_test.cpp
  "tests the POSIX branches with fork(), the Windows branches are tested in windows/os_file_windows_test.cpp"
  library_tests library_crash_test.cpp
  "kills archiving writers made with fork() and fills the disk with setrlimit(), neither of which Windows has"
  library_thread_tests library_concurrency_test.cpp
  "runs several writers as processes made with fork()"
)

# Tests built but not run (ctest -E), as regular expressions over the test names.
set(tevusb_windows_excluded_tests
  "SetFile\\.WriteFailureIsReportedAndKeepsTheOldFile"
  "makes a write fail part way with a file-size limit (setrlimit), which Windows lacks"
  "ChangeBroadcaster\\.|DeviceWatcherNotifier\\.|DeviceWatcherTest\\..*/Notifier|SimBus\\.(DetachAndAttachAreNotified|SwitchingToTheBootloader|AWorkerKeepsTalking)"
  "the notifier pipes and eventfds: on Windows the watcher's periodic comparison and WM_DEVICECHANGE take their place"
  "JournalStreamTest\\."
  "systemd's journal exists only on Linux"
  "LibraryLocation\\.OptionThenEnvironmentThenXdgThenHome"
  "the XDG rules are Linux's, windows.LibraryLocationWindows tests %LOCALAPPDATA%"
  "LibraryIndex\\.AnArchiveFileIsFoundByAnySpelling|LibraryArchive\\.OpenAddsOrphanFiles"
  "create folder symbolic links, which Wine does not implement"
  "HidapiBackend\\.InitialisesOnce"
  "hid_init() fails under Wine 8, a real Windows HID stack is needed"
  "packaging\\.|portability\\."
  "check the Debian package and the sources with Linux tools, they run in the Linux build"
  "ImageExportTest\\.SvgParsesAndCarriesTheSizeAndTheLabels"
  "reads an SVG picture back: the Windows build has no Qt Svg (Debian's qt6-svg source does not download), and its refusal of SVG is tested by CliReportTest.WritesReportAndPictures and ReportMenuTest.ExportImage"
  "CommandLineTest\\.RedirectedOutputGetsEveryDiagnosticLine"
  "the window program on Windows writes diagnostic lines only with --verbose, which CommandLineTest.JournalGetsNoDiagnosticLineUnlessAsked tests"
)

set(tevusb_windows_unbuilt)
list(LENGTH tevusb_windows_excluded_sources count)
if(count GREATER 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 3)
    list(GET tevusb_windows_excluded_sources ${i} target)
    math(EXPR j "${i} + 1")
    list(GET tevusb_windows_excluded_sources ${j} source)
    if(TARGET ${target})
      get_target_property(sources ${target} SOURCES)
      list(REMOVE_ITEM sources ${source})
      if(sources)
        set_property(TARGET ${target} PROPERTY SOURCES ${sources})
      else()
        # Nothing left to build: the program is not made, nor its tests listed.
        set_property(TARGET ${target} PROPERTY EXCLUDE_FROM_ALL ON)
        list(APPEND tevusb_windows_unbuilt "${target}_NOT_BUILT")
      endif()
    endif()
  endforeach()
endif()
set(patterns)
list(LENGTH tevusb_windows_excluded_tests count)
if(count GREATER 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    list(GET tevusb_windows_excluded_tests ${i} pattern)
    list(APPEND patterns ${pattern})
  endforeach()
endif()
list(APPEND patterns ${tevusb_windows_unbuilt})
list(JOIN patterns "|" TEVUSB_WINDOWS_EXCLUDED_TEST_REGEX)
# Read by scripts/test-windows.sh: ctest -E "$(cat …)".
file(WRITE ${CMAKE_BINARY_DIR}/windows-excluded-tests.txt "${TEVUSB_WINDOWS_EXCLUDED_TEST_REGEX}")
