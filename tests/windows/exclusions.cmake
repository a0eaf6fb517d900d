# SPDX-License-Identifier: MIT
# The tests that are not built or not run for Windows, each with the reason. This is the
# one place such exceptions are made; everything else runs under Wine as on Linux.

# Test sources left out of the Windows build: target, source, reason.
set(tevusb_windows_excluded_sources
)

# Tests built but not run (ctest -E), as regular expressions over the test names.
set(tevusb_windows_excluded_tests
)

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
      set_property(TARGET ${target} PROPERTY SOURCES ${sources})
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
list(JOIN patterns "|" TEVUSB_WINDOWS_EXCLUDED_TEST_REGEX)
# Read by scripts/test-windows.sh: ctest -E "$(cat …)".
file(WRITE ${CMAKE_BINARY_DIR}/windows-excluded-tests.txt "${TEVUSB_WINDOWS_EXCLUDED_TEST_REGEX}")
