#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The installer under Wine: a silent install for all users, the installed command line
# answers with its version, the .tev file type is registered, and a silent uninstall
# removes the program but leaves the flight library alone.
#   test-installer.sh tevusb-setup-VERSION.exe VERSION
set -euo pipefail
setup=$1
version=$2
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
passes=0 failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
    passes=$((passes + 1))
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}
win() { wine "$@" 2>/dev/null | tr -d '\r'; }

local_app=$(win cmd /c echo %LOCALAPPDATA%)
library=$(winepath -u "$local_app\\tevusb" 2>/dev/null)
mkdir -p "$library/flights"
echo "a kept flight" >"$library/flights/kept.tev"

wine "$setup" /S /AllUsers
wineserver -w
installed=$(winepath -u 'C:\Program Files\tevusb' 2>/dev/null)
check "installed into Program Files" test -f "$installed/tevusb.exe"
check "the Start menu entry" test -n "$(find "$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs' 2>/dev/null)" -name 'tevusb.lnk')"
answer=$(win "C:\\Program Files\\tevusb\\tevusb-cli.exe" --version)
check "tevusb-cli --version says '$answer'" test "$answer" = "tevusb-cli $version"
check ".tev is a tevusb flight" grep -q "tevusb.flight" <<<"$(win reg query 'HKLM\Software\Classes\.tev' /ve)"
command=$(win reg query 'HKLM\Software\Classes\tevusb.flight\shell\open\command' /ve)
check "opening a flight starts tevusb with it" grep -qF '\tevusb\tevusb.exe" "%1"' <<<"$command"
check "its verb reads Open with tevusb" grep -q "Open with tevusb" <<<"$(win reg query 'HKLM\Software\Classes\tevusb.flight\shell\open' /ve)"
check "the User Guide is beside the programs" test -f "$installed/doc/user-guide.html"
check "its icon is the program's" grep -qF 'tevusb.exe,0' <<<"$(win reg query 'HKLM\Software\Classes\tevusb.flight\DefaultIcon' /ve)"
check "listed under installed programs with its version" grep -q "$version" <<<"$(win reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\tevusb' /v DisplayVersion)"

wine "$installed/uninstall.exe" /S /AllUsers
wineserver -w
check "the program folder is gone" test ! -e "$installed"
# reg says "Unable to find" on its standard output: its exit status tells.
gone() { ! wine reg query "$1" >/dev/null 2>&1; }
check "the file type is gone" gone 'HKLM\Software\Classes\tevusb.flight'
check "the .tev extension is gone" gone 'HKLM\Software\Classes\.tev'
check "gone from installed programs" gone 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\tevusb'
check "the flight library is untouched" test "$(cat "$library/flights/kept.tev")" = "a kept flight"
rm -rf "$library"
echo "installer: $passes passed, $failures failed"
[ "$failures" = 0 ]
