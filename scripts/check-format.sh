#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks every C++ file of src/, tests/, bench/ and fuzz/ against .clang-format without
# changing anything; lists the files that deviate and fails if there are any.
# CLANG_FORMAT names another clang-format (the style is written for version 14).
set -euo pipefail
cd "$(dirname "$0")/.."

format=${CLANG_FORMAT:-clang-format}
if ! command -v "$format" >/dev/null; then
  echo "check-format: $format not found (Debian package clang-format)" >&2
  exit 2
fi

# One clang-format per batch of files; each deviation is reported as
# "FILE:LINE:COLUMN: error: ...", from which the file names are kept.
status=0
report=$(find src tests bench fuzz -type f \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.cc' -o -name '*.hpp' \) -print0 |
  xargs -0 -n 100 "$format" --dry-run --Werror 2>&1 >/dev/null) || status=$?
deviating=$(sed -n 's/^\(.*\):[0-9][0-9]*:[0-9][0-9]*: error: .*/\1/p' <<<"$report" | sort -u)

if [ -n "$deviating" ]; then
  echo "Not formatted as .clang-format says (fix with: $format -i FILE...):" >&2
  sed 's/^/  /' <<<"$deviating" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  # clang-format failed without naming a deviation: a file it could not read, say.
  echo "$report" >&2
  echo "check-format: $format failed (exit $status)" >&2
  exit 1
fi
echo "check-format: every C++ file is formatted"
