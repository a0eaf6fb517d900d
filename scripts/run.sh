#!/usr/bin/env bash
# Installs what is needed, builds, and starts tevusb on its built-in simulated altimeter.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
ninja -C build -j"$(nproc)"

if [ -x build/src/app/tevusb ]; then
  exec build/src/app/tevusb --simulator "$@"
fi
# Without the window, show what the command-line front reads from a sample flight.
exec build/src/cli/tevusb-cli show resources/samples/sample-flight.tev
