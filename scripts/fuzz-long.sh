#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The long fuzzing runs: every fuzzer for TEVUSB_FUZZ_SECONDS (default 600) on its seeds,
# keeping what it finds in fuzz/corpus-run/<name>/ for the next run. CI runs each briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${TEVUSB_FUZZ_SECONDS:-600}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTEVUSB_FUZZ=ON >/dev/null
ninja -C build-fuzz
for fuzzer in build-fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  work="fuzz/corpus-run/${name#fuzz_}"
  mkdir -p "$work"
  echo "--- $name (${seconds} s)"
  "$fuzzer" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
    "$work" "fuzz/corpus/${name#fuzz_}"
done
