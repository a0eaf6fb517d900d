#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks of the desktop integration files, one per call: check_packaging.sh CHECK.
# Needs SOURCE_DIR, PROJECT_VERSION and CLI (the built tevusb-cli); MAN_DIR for "manpages".
# Exits 77 (skipped) when the tool a check needs is not installed.
set -uo pipefail

pkg=$SOURCE_DIR/packaging
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
    done
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check_desktop() {
    need desktop-file-validate
    desktop-file-validate "$pkg/tevusb.desktop" || fail "desktop-file-validate"
    # Every type the entry claims must be one the package defines.
    local types
    types=$(sed -n 's/^MimeType=//p' "$pkg/tevusb.desktop" | tr ';' ' ')
    [ -n "$types" ] || fail "the desktop entry names no MIME type"
    for type in $types; do
        grep -q "type=\"$type\"" "$pkg/tevusb-mime.xml" || fail "$type is not in tevusb-mime.xml"
    done
    grep -q '^Exec=tevusb %f$' "$pkg/tevusb.desktop" || fail "Exec does not take the file (%f)"
}

check_appstream() {
    need appstreamcli
    local metainfo=$pkg/org.example.tevusb.metainfo.xml
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
    grep -q "<release version=\"$PROJECT_VERSION\"" "$metainfo" ||
        fail "no release entry for version $PROJECT_VERSION"
    grep -q '<launchable type="desktop-id">tevusb.desktop</launchable>' "$metainfo" ||
        fail "the launchable is not the installed tevusb.desktop"
    # No made-up address where a person reads it: no link rather than a fake one.
    if grep -rq 'example\.org' "$metainfo" "$pkg/copyright" "$pkg/man"; then
        fail "a placeholder example.org address is left in the package texts"
    fi
    # The udev rule and the metainfo must name the same USB ids, or software centres
    # offer the program for the wrong device.
    local product
    for product in $(sed -n 's/.*idProduct}=="\([0-9a-f]*\)".*/\1/p' "$pkg/70-tevusb.rules"); do
        grep -qi "usb:v03DBp${product}d\*" "$metainfo" || fail "no modalias for product $product"
    done
}

# Writes a firmware file header: the signature, format 1.00, bootloader 1.10, firmware 1.50.
write_firmware_header() {
    printf '\x30\xff\xbe\x3d\x61\xb9\x71\x4a\xb1\xe7\x91\x36\x63\x93\x0e\xc2\x00\x01\x10\x01\x50\x01' >"$1"
    head -c 65540 /dev/zero >>"$1"
}

check_mime() {
    need xmllint update-mime-database xdg-mime
    xmllint --noout "$pkg/tevusb-mime.xml" || fail "xmllint"
    mkdir -p "$work/data/mime/packages" "$work/flights"
    cp "$pkg/tevusb-mime.xml" "$work/data/mime/packages/tevusb.xml"
    XDG_DATA_HOME=$work/data update-mime-database "$work/data/mime" || fail "update-mime-database"
    "$CLI" --simulator download --out "$work/flights" >/dev/null || fail "no sample flight"
    cp "$work/flights/set1.tev" "$work/flight-without-extension"
    write_firmware_header "$work/update.dat"
    cp "$work/update.dat" "$work/firmware-without-extension"
    head -c 4096 /dev/zero >"$work/other.dat"
    printf 'not a flight\n' >"$work/other.bin"
    local file expected got
    while read -r file expected; do
        got=$(XDG_DATA_HOME=$work/data XDG_DATA_DIRS=/usr/share xdg-mime query filetype "$work/$file")
        [ "$got" = "$expected" ] || fail "$file is '$got', expected $expected"
    done <<LIST
flights/set1.tev application/x-tevusb-data
flight-without-extension application/x-tevusb-data
update.dat application/x-tevusb-firmware
firmware-without-extension application/x-tevusb-firmware
LIST
    # Files that only share a name pattern or nothing at all are no flights or firmware.
    for file in other.dat other.bin; do
        got=$(XDG_DATA_HOME=$work/data XDG_DATA_DIRS=/usr/share xdg-mime query filetype "$work/$file")
        case $got in application/x-tevusb-*) fail "$file taken for $got" ;; esac
    done
}

check_manpages() {
    need man
    local page found=0
    for page in "$MAN_DIR"/*.1.gz; do
        [ -e "$page" ] || continue
        found=$((found + 1))
        # The way lintian reads a page: any complaint of groff is a fault of the page.
        local complaints
        complaints=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
            man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
        [ -z "$complaints" ] || fail "$(basename "$page"): $complaints"
        zcat "$page" | grep -q '^\.SH "\?EXIT STATUS' || fail "$(basename "$page") has no EXIT STATUS"
        zcat "$page" | grep -q 'TEVUSB_LIBRARY' || fail "$(basename "$page") names no TEVUSB_LIBRARY"
    done
    [ "$found" -gt 0 ] || { echo "skipped: no manual pages built"; exit 77; }
}

case ${1:-} in
    desktop | appstream | mime | manpages) "check_$1" ;;
    *) echo "usage: check_packaging.sh desktop|appstream|mime|manpages"; exit 2 ;;
esac
[ "$failures" -eq 0 ] || exit 1
echo "ok"
