#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives the bash completion of tevusb-cli as bash would and checks what it offers.
# Needs SOURCE_DIR and CLI (the built tevusb-cli); exits 77 without bash-completion.
set -uo pipefail

framework=/usr/share/bash-completion/bash_completion
[ -r "$framework" ] || { echo "skipped: bash-completion is not installed"; exit 77; }
# shellcheck source=/dev/null
source "$framework"
# shellcheck source=/dev/null
source "$SOURCE_DIR/packaging/tevusb-cli.bash-completion"

failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/flights"
touch "$work/a.dat" "$work/b.tev" "$work/c.csv"
cd "$work" || exit 1

# What completing the last word of the line offers, one per line, sorted.
offers() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _tevusb_cli 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sed 's|/$||' | sort
}
# expect WORDS... :: wanted... : every wanted word offered; "!word" must not be.
expect() {
    local line=() word got
    while [ "$1" != "::" ]; do line+=("$1"); shift; done
    shift
    got=$(offers tevusb-cli "${line[@]}")
    for word in "$@"; do
        if [[ $word == !* ]]; then
            grep -qx -- "${word#!}" <<<"$got" && { echo "FAIL: '${line[*]}' offers ${word#!}"; failures=$((failures + 1)); }
        else
            grep -qx -- "$word" <<<"$got" || { echo "FAIL: '${line[*]}' lacks $word (got: $(echo $got))"; failures=$((failures + 1)); }
        fi
    done
}

expect "" :: download library firmware show '!--verbose'
expect "--sim" :: --simulator --simulator-bootloader '!--verbose'
expect "--library" "flights" "dow" :: download
expect "--verbose" "library" "" :: list show export import edit rebuild '!download'
expect "library" "list" "--" :: --json
expect "library" "edit" "3" "--r" :: --rocket
expect "library" "" :: report delete
expect "library" "report" "3" "--" :: --pdf --png --svg --units --size --view '!--set' '!--rocket'
expect "library" "report" "3" "--pdf" "" :: flights '!b.tev'
expect "report" "b.tev" "--" :: --rocket --motor --site --date --comment
expect "settings" "--line-a" "" :: disabled apogee time: altitude:
expect "settings" "--" :: --line-a --line-b --inhibit --rocket --yes --force '!--csv'
expect "clear" "--" :: --yes --force
expect "fire" "--" :: --yes '!--force'
expect "export" "b.tev" "--" :: --csv --xml --set
expect "download" "--out" "" :: flights '!b.tev' '!a.dat'
expect "show" "" :: b.tev flights '!a.dat' '!c.csv'
expect "firmware" "" :: a.dat flights '!b.tev'
expect "library" "import" "" :: b.tev flights '!a.dat'
expect "stats" "--units" "" :: metric imperial
expect "stats" "b.tev" "--" :: --sim --sim-name --mass --diameter --json
expect "stats" "b.tev" "--sim" "" :: c.csv flights '!b.tev' '!a.dat'
expect "sim" "" :: c.csv flights '!b.tev' '!a.dat'
expect "sim" "c.csv" "--" :: --json --units

# Every command the program lists in its help must complete: a new command without it
# is the fault this catches.
# --help must answer on standard output with success, as the manual pages are made from it.
help=$("$CLI" --help 2>/dev/null) || { echo "FAIL: tevusb-cli --help exits $?"; failures=$((failures + 1)); }
commands=$(sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\?$/\1/p' <<<"$help" | sort -u)
[ -n "$commands" ] || { echo "FAIL: no commands read from tevusb-cli --help"; failures=$((failures + 1)); }
offered=$(offers tevusb-cli "")
for command in $commands; do
    grep -qx "$command" <<<"$offered" || { echo "FAIL: command '$command' does not complete"; failures=$((failures + 1)); }
done

[ "$failures" -eq 0 ] || exit 1
echo "ok"
