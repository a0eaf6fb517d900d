#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Bounded soak of the flight library: imports and downloads killed at random moments,
# two writers at once, then the library checked with list, rebuild and SQLite's
# integrity_check. Usage: scripts/soak-library.sh [SECONDS] (default 60).
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
cli=${TEVUSB_CLI:-build/src/cli/tevusb-cli}
if [ ! -x "$cli" ]; then
  echo "soak-library: $cli not built (ninja -C build tevusb-cli)" >&2
  exit 2
fi
command -v sqlite3 >/dev/null || { echo "soak-library: needs the sqlite3 program" >&2; exit 2; }

work=$(mktemp -d /tmp/tevusb-soak-XXXXXX)
trap 'rm -rf "$work"' EXIT
lib="$work/library"
seeds="$work/seeds"
failures=0
fail() { echo "soak-library: FAIL: $*"; failures=$((failures + 1)); }

"$cli" --library "$work/seed-library" --simulator download --out "$seeds" >/dev/null 2>&1 ||
  { echo "soak-library: could not make seed flights on the simulator" >&2; exit 2; }

# Variant n of every seed flight: two reading bytes of its second packet changed, so each
# is a different flight (the packets carry no checksum of their own).
make_variants() {
  local n=$1 dir=$2
  mkdir -p "$dir"
  for seed in "$seeds"/set*.tev; do
    local out="$dir/v$n-$(basename "$seed")"
    cp "$seed" "$out"
    printf "\\$(printf %03o $((n % 200 + 1)))\\$(printf %03o $((n / 200 % 50 + 1)))" |
      dd of="$out" bs=1 seek=$((26 + 64 + 4)) conv=notrunc status=none
  done
}

deadline=$((SECONDS + seconds * 2 / 3))
kills=0 finished=0 variant=0 recovered=0
while [ $SECONDS -lt $deadline ]; do
  variant=$((variant + 1))
  make_variants "$variant" "$work/in/$variant"
  if [ $((variant % 4)) -eq 0 ]; then
    "$cli" --library "$lib" --simulator download >"$work/run.err" 2>&1 &
  else
    "$cli" --library "$lib" library import "$work/in/$variant" >"$work/run.err" 2>&1 &
  fi
  pid=$!
  sleep "0.$((RANDOM % 4))$((RANDOM % 10))"
  if kill -9 "$pid" 2>/dev/null; then kills=$((kills + 1)); else finished=$((finished + 1)); fi
  wait "$pid" 2>/dev/null
  # What the next run's open found without a row: flights a kill cut off after the file.
  found=$(sed -n 's/^Added \([0-9]*\) flight.*/\1/p' "$work/run.err")
  recovered=$((recovered + ${found:-0}))
done
echo "soak-library: $variant runs killed at random times ($kills killed, $finished done first)"

# The first open after the kills adds the flights whose rows they cut off.
"$cli" --library "$lib" library list >/dev/null 2>"$work/after-kills.err" ||
  fail "list after the kills: $(cat "$work/after-kills.err")"
after=$(sed -n 's/^Added \([0-9]*\) flight.*/\1/p' "$work/after-kills.err")
recovered=$((recovered + ${after:-0}))
echo "soak-library: $recovered flights cut off after their file were picked up by the next open"

# Two writers at once, each with its own flights and one set they share.
make_variants 9001 "$work/shared"
pairs=0
deadline=$((SECONDS + seconds / 3))
while [ $SECONDS -lt $deadline ]; do
  pairs=$((pairs + 1))
  a=$((20000 + 2 * pairs)) b=$((20001 + 2 * pairs))
  make_variants $a "$work/in/$a"
  make_variants $b "$work/in/$b"
  "$cli" --library "$lib" library import "$work/in/$a" "$work/shared" >"$work/a.log" 2>&1 &
  pa=$!
  "$cli" --library "$lib" library import "$work/shared" "$work/in/$b" >"$work/b.log" 2>&1 &
  pb=$!
  wait $pa || fail "writer A: $(tail -n 1 "$work/a.log")"
  wait $pb || fail "writer B: $(tail -n 1 "$work/b.log")"
done
echo "soak-library: $pairs rounds of two writers at once"
# Writers that were not killed leave no file without its row behind.
"$cli" --library "$lib" library list >/dev/null 2>"$work/after-writers.err"
if grep -q "Added" "$work/after-writers.err"; then
  fail "the writers left files without rows: $(cat "$work/after-writers.err")"
fi

check() {
  local stage=$1
  local integrity rows files
  integrity=$(sqlite3 "$lib/index.sqlite" "PRAGMA integrity_check;" 2>&1)
  [ "$integrity" = "ok" ] || fail "$stage: integrity_check says $integrity"
  if ! "$cli" --library "$lib" library list --json >"$work/list.json" 2>"$work/list.err"; then
    fail "$stage: list failed: $(cat "$work/list.err")"
    return
  fi
  rows=$(grep -c '"hash":' "$work/list.json")
  files=$(find "$lib/flights" -name '*.tev' ! -name '.*' | wc -l)
  [ "$rows" -eq "$files" ] || fail "$stage: $rows rows but $files archive files"
  echo "soak-library: $stage: $rows flights, $files archive files, integrity $integrity"
}
check "after the kills and writers"
"$cli" --library "$lib" library rebuild >"$work/rebuild.log" 2>&1 ||
  fail "rebuild: $(cat "$work/rebuild.log")"
check "after rebuild"

if [ "$failures" -eq 0 ]; then
  echo "soak-library: PASS"
  exit 0
fi
echo "soak-library: FAIL ($failures problems)"
exit 1
