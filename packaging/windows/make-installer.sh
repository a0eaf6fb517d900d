#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Gathers the Windows build's programs with the DLLs and plugins they load into one folder
# and makes tevusb-setup-VERSION.exe of it with NSIS.
#   make-installer.sh BUILD_DIR "PREFIX;PREFIX;..."
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$1
IFS=';' read -r -a prefixes <<<"$2"
version=$(sed -n 's/^project(tevusb VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
work=$build/installer
stage=$work/stage
rm -rf "$work"
mkdir -p "$stage/platforms" "$stage/styles"

cp "$build/src/app/tevusb.exe" "$build/src/cli/tevusb-cli.exe" "$build/src/cli/tevusb-report.exe" "$stage/"
qt=""
for p in "${prefixes[@]}"; do
  [ -f "$p/bin/Qt6Core.dll" ] && qt=$p
done
[ -n "$qt" ] || {
  echo "make-installer.sh: no Qt among the prefixes" >&2
  exit 1
}
for lib in Core Gui Widgets PrintSupport; do cp "$qt/bin/Qt6$lib.dll" "$stage/"; done
# The report program draws off screen; the window program on the Windows desktop.
cp "$qt/plugins/platforms/qwindows.dll" "$qt/plugins/platforms/qoffscreen.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$stage/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
printf '[Paths]\nPrefix = .\nPlugins = .\n' >"$stage/qt.conf"
# Windows' own line ends, so Notepad shows the licence as it is.
sed 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
cp "$build/windows/tevusb.ico" "$stage/"
# The User Guide with its pictures, where Help > User Guide looks for it.
mkdir -p "$stage/doc/screenshots"
cp "$build/packaging/doc/user-guide.html" "$stage/doc/"
grep -o 'screenshots/[A-Za-z0-9_.-]*\.png' "$build/packaging/doc/user-guide.html" | sort -u |
  while read -r shot; do cp "$root/docs/$shot" "$stage/doc/screenshots/"; done

# The installer's file lists: every staged file in, the same files (and folders) out.
(
  cd "$stage"
  find . -type d ! -name . | sed 's|^\./||' | sort | while read -r d; do
    printf 'CreateDirectory "$INSTDIR\\%s"\n' "${d//\//\\}"
  done
  find . -type f | sed 's|^\./||' | sort | while read -r f; do
    printf 'File "/oname=%s" "%s"\n' "${f//\//\\}" "$stage/$f"
  done
) >"$work/install-files.nsh"
(
  cd "$stage"
  find . -type f | sed 's|^\./||' | sort | while read -r f; do
    printf 'Delete "$INSTDIR\\%s"\n' "${f//\//\\}"
  done
  find . -type d ! -name . | sed 's|^\./||' | sort -r | while read -r d; do
    printf 'RMDir "$INSTDIR\\%s"\n' "${d//\//\\}"
  done
) >"$work/uninstall-files.nsh"

makensis -V2 -DVERSION="$version" -DSTAGE="$stage" \
  -DOUTFILE="$build/tevusb-setup-$version.exe" "$here/tevusb.nsi"
echo "$build/tevusb-setup-$version.exe"
