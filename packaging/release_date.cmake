# SPDX-License-Identifier: MIT
# The newest release's date in CHANGELOG.md as seconds since 1970 (midnight UTC), the way
# Debian's builds set SOURCE_DATE_EPOCH from their changelog: tools that date their output
# (help2man) then give the release's date instead of the build's, the same on every build.
# Run as a script (cmake -DCHANGELOG=FILE -P release_date.cmake) it prints the number.

# Days from 1970-01-01 to a civil date (proleptic Gregorian), in integers only.
function(tevusb_days_from_civil y m d out)
  if(m LESS_EQUAL 2)
    math(EXPR y "${y} - 1")
    math(EXPR mp "${m} + 9")
  else()
    math(EXPR mp "${m} - 3")
  endif()
  math(EXPR era "${y} / 400")
  math(EXPR yoe "${y} - ${era} * 400")
  math(EXPR doy "(153 * ${mp} + 2) / 5 + ${d} - 1")
  math(EXPR doe "${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy}")
  math(EXPR days "${era} * 146097 + ${doe} - 719468")
  set(${out} ${days} PARENT_SCOPE)
endfunction()

function(tevusb_release_epoch changelog out)
  file(STRINGS "${changelog}" headings REGEX "^## +[^ ]+ +\\([0-9-]+\\)")
  if(NOT headings)
    message(FATAL_ERROR "${changelog}: no '## VERSION (YYYY-MM-DD)' heading")
  endif()
  list(GET headings 0 newest)
  if(NOT newest MATCHES "\\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)")
    message(FATAL_ERROR "${changelog}: '${newest}' has no YYYY-MM-DD date")
  endif()
  math(EXPR y "${CMAKE_MATCH_1}")
  math(EXPR m "1${CMAKE_MATCH_2} - 100")
  math(EXPR d "1${CMAKE_MATCH_3} - 100")
  if(y LESS 1970 OR m LESS 1 OR m GREATER 12 OR d LESS 1 OR d GREATER 31)
    message(FATAL_ERROR "${changelog}: '${newest}' is no date after 1970")
  endif()
  tevusb_days_from_civil(${y} ${m} ${d} days)
  math(EXPR seconds "${days} * 86400")
  set(${out} ${seconds} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  tevusb_release_epoch("${CHANGELOG}" seconds)
  message("${seconds}")
endif()
