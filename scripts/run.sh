#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building and running needs, builds the programs (no tests, no benchmarks;
# ./scripts/test.sh does those), and starts tevusb on its built-in simulated altimeter.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh --run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DTEVUSB_BENCH=OFF >/dev/null
ninja -C build -j"$(nproc)"

if [ -x build/src/app/tevusb ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/src/app/tevusb --simulator "$@"
fi
if [ -x build/src/app/tevusb ]; then
  echo "No display to open the window on; here is the command-line front on the simulator." >&2
  out=$(mktemp -d)
  build/src/cli/tevusb-cli --simulator download --out "$out" --csv
  exec build/src/cli/tevusb-cli show "$out/set1.tev"
fi
# Without the window, show what the command-line front reads from a sample flight.
exec build/src/cli/tevusb-cli show resources/samples/sample-flight.tev
