#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CI's Windows stage: the Windows build (dependencies from the cache, the cross build
# folder kept beside it so that only what changed is compiled) and every test under Wine
# but the listed exceptions (tests/windows/exclusions.cmake). No installer.
# On a machine without the cache the dependencies are built first (Qt takes the longest).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
./scripts/build-windows.sh --no-installer "$@"
echo "Windows stage: $((SECONDS - started)) s"
