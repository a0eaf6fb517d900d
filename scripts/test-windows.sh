#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CI's Windows stage: the Windows build (dependencies from the cache, the cross build
# folder kept beside it so that only what changed is compiled) and every test under Wine
# but the listed exceptions (tests/windows/exclusions.cmake). No installer.
#
# TEVUSB_WINDOWS_SECONDS, when set, is the time the stage may take (CI gives it what is
# left of its limit). With the cache of an earlier run the stage needs far less. A machine
# without the cache first cross-builds the libraries, Qt above all, which can take longer
# than is left: the build is then stopped at the limit and goes on where it stopped in the
# next run, and the tests wait for that run. The stage says so plainly; it never runs past
# the limit.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
budget=${TEVUSB_WINDOWS_SECONDS:-}
# What the tests under Wine take on this 2-core machine, with room to spare.
tests_need=${TEVUSB_WINDOWS_TESTS_SECONDS:-1200}

if [ -z "$budget" ]; then
  ./scripts/build-windows.sh --no-installer "$@"
  echo "Windows stage: $((SECONDS - started)) s"
  exit 0
fi

left() { echo $((budget - (SECONDS - started))); }
status=0
timeout "$(left)" ./scripts/build-windows.sh --no-installer --no-tests "$@" || status=$?
if [ "$status" = 124 ]; then
  echo "Windows stage NOT COMPLETE: the first build of the cached libraries and the program"
  echo "did not fit in the $budget s CI had left. It goes on where it stopped in the next run,"
  echo "which then runs the tests under Wine. ($((SECONDS - started)) s)"
  exit 0
elif [ "$status" != 0 ]; then
  exit "$status"
fi
if [ "$(left)" -lt "$tests_need" ]; then
  echo "Windows stage NOT COMPLETE: built, but the tests under Wine need about $tests_need s"
  echo "and $(left) s of CI's time are left; the next run, with the cache, runs them."
  exit 0
fi
./scripts/build-windows.sh --no-installer "$@"
echo "Windows stage: $((SECONDS - started)) s"
