#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is needed, checks the formatting, builds with warnings as errors, and runs
# every test: the plain build, again under AddressSanitizer + UndefinedBehaviorSanitizer,
# the threaded tests under ThreadSanitizer, each fuzzer for a bounded time, the Debian
# package, and the Windows build with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

"$root/scripts/install-deps.sh"

jobs=$(nproc)
# Each fuzzer runs briefly here, on the seeds and what it finds from them; the long runs
# are scripts/fuzz-long.sh's.
fuzz_seconds=${TEVUSB_FUZZ_SECONDS:-30}
export QT_QPA_PLATFORM=offscreen

# Each stage says how long the one before it took, so the time CI spends can be read off
# its log.
stage_start=$SECONDS
step() {
  printf '\n(%d s)\n=== %s ===\n' "$((SECONDS - stage_start))" "$*"
  stage_start=$SECONDS
}

# Four configurations compile the same sources; ccache keeps a rerun on the same machine
# from compiling again what has not changed. Paths are hashed relative to the checkout, so
# two clones of the project share the cache.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$root"
  # With -g ccache would also hash the build folder's absolute path, so no other clone
  # ever hit the cache (4 % hits measured); paths inside the checkout are relative anyway.
  export CCACHE_NOHASHDIR=1
fi

step "Formatting (.clang-format)"
"$root/scripts/check-format.sh"

step "Build and test (warnings as errors)"
cmake -S . -B build-ci -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTEVUSB_BENCH=ON >/dev/null
ninja -C build-ci -j"$jobs"
ctest --test-dir build-ci -j"$jobs" --output-on-failure --timeout 300

step "Tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTEVUSB_SANITIZE=ON -DTEVUSB_BENCH=OFF >/dev/null
ninja -C build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -j"$jobs" --output-on-failure --timeout 600

step "Threaded tests under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTEVUSB_TSAN=ON -DTEVUSB_BENCH=OFF -DTEVUSB_GUI=OFF >/dev/null
ninja -C build-tsan -j"$jobs"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build-tsan -j"$jobs" --output-on-failure --timeout 600 -L threads

step "Fuzzers (${fuzz_seconds} s each)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEVUSB_FUZZ=ON >/dev/null
ninja -C build-fuzz -j"$jobs"
for fuzzer in build-fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  seeds="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  echo "--- $name"
  status=0
  "$fuzzer" -max_total_time="$fuzz_seconds" -max_len=8192 -print_final_stats=1 "$work" "$seeds" \
    >"$work.log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|Done |==[0-9]+==ERROR|SUMMARY)' "$work.log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$work.log"
    echo "$name found a fault (exit $status)"
    exit 1
  fi
  rm -rf "$work" "$work.log"
done

step "Debian package: build, lintian, desktop files, install and remove"
"$root/scripts/check-package.sh"

# CI ends a run at 90 minutes. The Windows stage gets what is left of that, less a margin;
# with the cache of an earlier run it needs far less (scripts/test-windows.sh).
ci_limit=5400
ci_margin=300
step "Windows: cross build and tests under Wine"
TEVUSB_WINDOWS_SECONDS=$((ci_limit - ci_margin - SECONDS)) "$root/scripts/test-windows.sh"

step "All tests passed"
