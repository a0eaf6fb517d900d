#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from its own Release tree and checks it as Debian and the
# desktops do: lintian (no error, no warning), the desktop entry, the AppStream metainfo,
# the MIME definition and the type it gives a real flight file; then installs it, checks
# that flight files open with tevusb, runs both programs from their installed paths
# without a display, finds the manual page and purges the package again. Uses sudo for
# the install when not root.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/${TEVUSB_PKG_BUILD:-build-pkg}
jobs=$(nproc)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

work=$(mktemp -d)
installed=0
cleanup() {
    if [ "$installed" -eq 1 ]; then
        $SUDO apt-get purge -y -qq tevusb >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
check() { printf -- '--- %s\n' "$*"; }

check "Release build and package"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DTEVUSB_BENCH=OFF >/dev/null
ninja -C "$build" -j"$jobs" >/dev/null
rm -f "$build"/tevusb_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/tevusb_*_*.deb)
deb=${debs[0]}
echo "$(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
# What the users get is what is checked: the files as they stand in the package.
dpkg-deb -x "$deb" "$work/root"

check "lintian"
status=0
report=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
# lintian's note that it runs as root is about CI, not about the package.
report=$(grep -v '^running with root privileges' <<<"$report" || true)
[ -z "$report" ] || echo "$report"
if [ "$status" -ne 0 ] || grep -q '^[EW]: ' <<<"$report"; then
    echo "lintian reports errors or warnings (exit $status)"
    exit 1
fi
echo "no errors, no warnings"

check "desktop entry, metainfo, MIME definition"
desktop-file-validate "$work/root/usr/share/applications/tevusb.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/"*.metainfo.xml
xmllint --noout "$work/root/usr/share/mime/packages/tevusb.xml"

check "MIME type of a flight file"
mkdir -p "$work/data/mime/packages" "$work/flights"
cp "$work/root/usr/share/mime/packages/tevusb.xml" "$work/data/mime/packages/"
XDG_DATA_HOME=$work/data update-mime-database "$work/data/mime"
"$build/src/cli/tevusb-cli" --simulator download --out "$work/flights" >/dev/null
type=$(XDG_DATA_HOME=$work/data xdg-mime query filetype "$work/flights/set1.tev")
echo "set1.tev: $type"
[ "$type" = application/x-tevusb-data ] || { echo "expected application/x-tevusb-data"; exit 1; }

check "install, run, remove"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -qq "$deb" >/dev/null
installed=1
/usr/bin/tevusb-cli --version
# dpkg's triggers register the types and the desktop entry that opens them.
default=$(xdg-mime query default application/x-tevusb-data)
echo "flights open with: $default"
[ "$default" = tevusb.desktop ] || { echo "expected tevusb.desktop"; exit 1; }
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/tevusb --help)
head -n 1 <<<"$help"
# Slim container images tell dpkg to leave manual pages out; there the page cannot be found
# however good the package is, so its presence in the package is checked instead.
if grep -qs '^path-exclude=/usr/share/man' /etc/dpkg/dpkg.cfg.d/*; then
    echo "dpkg leaves manual pages out here; checking the package's file list instead"
    dpkg -L tevusb | grep -x /usr/share/man/man1/tevusb-cli.1.gz
else
    man -w tevusb-cli
fi
$SUDO apt-get purge -y -qq tevusb >/dev/null
installed=0
if [ -e /usr/bin/tevusb-cli ] || dpkg-query -W tevusb >/dev/null 2>&1; then
    echo "tevusb is still installed after the purge"
    exit 1
fi
echo "package checks passed"
