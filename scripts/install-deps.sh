#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages needed to build, test and run tevusb; with --run only
# those needed to build and run the programs (what ./scripts/run.sh asks for).
# Safe to run again; uses sudo when not already root.
set -euo pipefail

only_run=false
if [ "${1:-}" = "--run" ]; then only_run=true; fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# Building and running the programs.
run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-svg-dev
  libhidapi-dev libudev-dev nlohmann-json3-dev
  libsqlite3-dev nettle-dev
  fonts-liberation fonts-dejavu-core
  libpng-dev libzip-dev zlib1g-dev libexpat1-dev
)
# Testing, checking and packaging on top.
packages=(
  "${run_packages[@]}" ccache sqlite3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  fonts-liberation fonts-dejavu-core locales
  help2man lintian desktop-file-utils appstream shared-mime-info libxml2-utils xdg-utils
  bash-completion man-db libfile-mimeinfo-perl dpkg-dev file
  libpng-dev poppler-utils
  libzip-dev zlib1g-dev libexpat1-dev
)

if $only_run; then packages=("${run_packages[@]}"); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The exports are tested under a comma-decimal locale.
if ! $only_run && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
