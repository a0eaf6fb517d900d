#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The conversion of CHANGELOG.md into the package's Debian changelog and the release date
# read from it, on crafted inputs and on the project's own file. Needs SOURCE_DIR, PROJECT_VERSION and CMAKE.
set -uo pipefail

script=$SOURCE_DIR/packaging/debian_changelog.cmake
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert() {  # convert IN VERSION OUT
    "$CMAKE" -DIN="$1" -DVERSION="$2" -DOUT="$3" -DPACKAGE=tevusb \
        "-DMAINTAINER=Test Maintainer <test@example.org>" -P "$script"
}

cat >"$work/in.md" <<'MD'
# Changelog

Text before the first release is not part of any entry.

## 2.0 (2024-02-29)

- Keeps [brackets]; semicolons; and `code` words, in an item long enough that it must be
  wrapped to stay within the eighty columns a Debian changelog allows for every line.
- Second item.

## 1.9 (2000-03-01)

- Older entry.
MD
if convert "$work/in.md" 2.0 "$work/out" >"$work/log" 2>&1; then
    grep -q 'Keeps \[brackets\]; semicolons; and code words' "$work/out" ||
        fail "item text changed: $(head -3 "$work/out" | tail -1)"
    awk 'length($0) > 80 { exit 1 }' "$work/out" || fail "a line is longer than 80 columns"
    grep -q '^ -- Test Maintainer <test@example.org>  Thu, 29 Feb 2024 00:00:00 +0000$' "$work/out" ||
        fail "wrong trailer or weekday for 2024-02-29"
    grep -q '^ -- .*  Wed, 01 Mar 2000 00:00:00 +0000$' "$work/out" || fail "wrong weekday for 2000-03-01"
    grep -q 'before the first release' "$work/out" && fail "text outside the releases was taken"
    [ "$(grep -c '^  \* ' "$work/out")" -eq 3 ] || fail "expected 3 items"
    if command -v dpkg-parsechangelog >/dev/null; then
        [ "$(dpkg-parsechangelog -l "$work/out" --show-field Version)" = 2.0 ] ||
            fail "dpkg-parsechangelog does not read version 2.0"
        [ "$(dpkg-parsechangelog -l "$work/out" --offset 1 --count 1 --show-field Version)" = 1.9 ] ||
            fail "dpkg-parsechangelog does not read the second entry"
    fi
else
    fail "conversion failed: $(cat "$work/log")"
fi

# A changelog whose newest entry is not the version being packaged, or with a date that is
# none, must stop the build rather than ship a misleading file.
convert "$work/in.md" 2.1 "$work/wrong" >/dev/null 2>&1 && fail "a version mismatch was accepted"
sed 's/2024-02-29/2024-13-01/' "$work/in.md" >"$work/bad-date.md"
convert "$work/bad-date.md" 2.0 "$work/wrong" >/dev/null 2>&1 && fail "month 13 was accepted"
printf '## 2.0 (2024-01-01)\n\nStray paragraph.\n' >"$work/stray.md"
convert "$work/stray.md" 2.0 "$work/wrong" >/dev/null 2>&1 && fail "a paragraph inside a release was accepted"

# The release date that dates the manual pages, against date(1) across leap days,
# century rules and the epoch itself.
for day in 1970-01-01 1999-12-31 2000-02-29 2000-03-01 2024-02-29 2026-12-08 2100-03-01; do
    printf '## 1.0 (%s)\n\n- Item.\n' "$day" >"$work/dated.md"
    got=$("$CMAKE" -DCHANGELOG="$work/dated.md" -P "$SOURCE_DIR/packaging/release_date.cmake" 2>&1)
    [ "$got" = "$(date -u -d "$day" +%s)" ] || fail "release date $day gives '$got'"
done

# The project's own changelog converts and starts with the project's version.
if convert "$SOURCE_DIR/CHANGELOG.md" "$PROJECT_VERSION" "$work/project" >"$work/log" 2>&1; then
    head -1 "$work/project" | grep -q "^tevusb ($PROJECT_VERSION) unstable; urgency=medium$" ||
        fail "CHANGELOG.md does not start with $PROJECT_VERSION"
else
    fail "CHANGELOG.md does not convert: $(cat "$work/log")"
fi

[ "$failures" -eq 0 ] || exit 1
echo "ok"
