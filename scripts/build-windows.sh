#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds tevusb for 64-bit Windows on Debian 12: MinGW-w64 cross-builds the libraries from
# Debian's source packages (cached outside the checkout), then the program, the command
# line, the report helper and the tests; runs the tests under Wine; makes the installer.
#
#   scripts/build-windows.sh                 everything, ending with tevusb-setup-VERSION.exe
#   scripts/build-windows.sh --deps-only     only the cached libraries
#   scripts/build-windows.sh --no-installer  libraries, program and tests
#   scripts/build-windows.sh --no-tests      skip running the tests
#
# TEVUSB_WINDOWS_CACHE moves the cache (default ~/.cache/tevusb-windows); JOBS sets the
# parallel jobs (default: the number of cores).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

DEPS_ONLY=0 INSTALLER=1 RUN_TESTS=1
for arg in "$@"; do
  case $arg in
  --deps-only) DEPS_ONLY=1 ;;
  --no-installer) INSTALLER=0 ;;
  --no-tests) RUN_TESTS=0 ;;
  *)
    echo "build-windows.sh: unknown option '$arg'" >&2
    exit 2
    ;;
  esac
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
JOBS=${JOBS:-$(nproc)}
CACHE_ROOT=${TEVUSB_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tevusb-windows}
mkdir -p "$CACHE_ROOT"
# One build folder per checkout, kept beside the libraries so that a second run compiles
# only what changed: CMake ties a build folder to one source folder, so a shared folder
# would be built anew whenever another checkout (CI's clone, say) used it. A folder no run
# has used for two weeks is removed.
BUILD_DIR=${TEVUSB_WINDOWS_BUILD:-$CACHE_ROOT/build-tevusb-$(printf '%s' "$ROOT" | sha256sum | cut -c1-8)}
for old in "$CACHE_ROOT"/build-tevusb*/; do
  old=${old%/}
  [ -d "$old" ] && [ "$old" != "$BUILD_DIR" ] || continue
  if [ -z "$(find "$old" -maxdepth 1 -mtime -14 | head -1)" ]; then
    rm -rf "$old" "$old.configure.log"
  fi
done
# The toolchain file is used from a copy in the cache, named by its content: a library
# build stopped part way remembers the toolchain's path, and a checkout can move or go.
mkdir -p "$CACHE_ROOT/toolchain"
TOOLCHAIN=$CACHE_ROOT/toolchain/mingw-w64-x86_64-$(sha256sum "$ROOT/cmake/mingw-w64-x86_64.cmake" | cut -c1-12).cmake
[ -f "$TOOLCHAIN" ] || cp "$ROOT/cmake/mingw-w64-x86_64.cmake" "$TOOLCHAIN"
MINGW_TRIPLET=x86_64-w64-mingw32
MINGW_CC=$MINGW_TRIPLET-gcc-posix
MINGW_CXX=$MINGW_TRIPLET-g++-posix
MINGW_AR=$MINGW_TRIPLET-gcc-ar-posix

install_tools() {
  local packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 nsis xvfb
    xauth dpkg-dev tcl librsvg2-bin icoutils fonts-dejavu-core fonts-liberation poppler-utils cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools nlohmann-json3-dev libgtest-dev ccache)
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# shellcheck source=scripts/windows-deps.sh
. "$ROOT/scripts/windows-deps.sh"

started=$SECONDS
echo "== tools from Debian"
install_tools
echo "== libraries (cache: $CACHE_ROOT)"
build_deps
# Debian's source entry goes as soon as the libraries are there.
deb_src_off
trap - EXIT TERM INT
echo "   libraries ready after $((SECONDS - started)) s"
[ "$DEPS_ONLY" = 1 ] && exit 0

# A Wine prefix of our own, set up once, so that the first test does not pay for it and
# no Mono or Gecko installer asks anything.
export WINEPREFIX=${WINEPREFIX:-$CACHE_ROOT/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Wine prefix ($WINEPREFIX)"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
# Wine has no Arial, which the graph asks for, and would draw it with a serif face; Liberation
# Sans has Arial's measurements. (The tests draw off screen with their own font folder.)
if ! grep -q '^"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f \
    >/dev/null 2>&1 || true
fi

echo "== tevusb for Windows ($BUILD_DIR)"
# A build folder made from another checkout (one named by TEVUSB_WINDOWS_BUILD) cannot be
# reused: CMake refuses a second source folder. Nor can one made with other libraries:
# CMake keeps the place where it first found each package (Qt6_DIR ...), and would go on
# using a library the cache has since replaced.
if [ -f "$BUILD_DIR/CMakeCache.txt" ] && {
  ! grep -qxF "CMAKE_HOME_DIRECTORY:INTERNAL=$ROOT" "$BUILD_DIR/CMakeCache.txt" ||
    ! grep -qxF "CMAKE_CACHEFILE_DIR:INTERNAL=$BUILD_DIR" "$BUILD_DIR/CMakeCache.txt"
}; then
  echo "   the build folder was made from another checkout or elsewhere: starting it anew"
  rm -rf "$BUILD_DIR"
elif [ -f "$BUILD_DIR/CMakeCache.txt" ] &&
  [ "$(cat "$BUILD_DIR/.libraries" 2>/dev/null)" != "$(dep_prefix_path)" ]; then
  echo "   the build folder was made with other libraries: starting it anew"
  rm -rf "$BUILD_DIR"
fi
export CCACHE_BASEDIR=$ROOT CCACHE_NOHASHDIR=1
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$(dep_prefix_path)" \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DTEVUSB_BENCH=OFF -DTEVUSB_GUI="${TEVUSB_WINDOWS_GUI:-ON}" >"$BUILD_DIR.configure.log" ||
  {
    tail -30 "$BUILD_DIR.configure.log"
    exit 1
  }
dep_prefix_path >"$BUILD_DIR/.libraries"
nice -n 5 ninja -C "$BUILD_DIR" -j"$JOBS" ${TEVUSB_WINDOWS_TARGETS:-}
echo "   built after $((SECONDS - started)) s"

if [ "$RUN_TESTS" = 1 ]; then
  echo "== tests under Wine"
  excluded=$(cat "$BUILD_DIR/windows-excluded-tests.txt")
  # One Wine server for the whole run: started and ended with each test it costs about half
  # the run's time, and it can end with one test's last process just as the next test
  # starts ("wine client error ... recvmsg: Connection reset by peer"). It is stopped
  # before the installer's tests, which wait for Wine to finish.
  # Its first program also starts Wine's own services, which then live as long as the
  # server: they must not hold a test's output open, so that program's output goes nowhere.
  # A server already running for this prefix (another run's) is left as it is.
  own_server=0
  if wineserver -p >/dev/null 2>&1; then
    own_server=1
    trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  fi
  wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
  # The window tests draw off screen; Wine's own windows (none expected) go to no display.
  # A test that fails is run once more, should Wine still fail between two tests; a real
  # fault fails twice. ctest's log shows every repeat.
  QT_QPA_PLATFORM=offscreen DISPLAY= ctest --test-dir "$BUILD_DIR" -j"$JOBS" \
    --output-on-failure --timeout 600 --repeat until-pass:2 ${excluded:+-E "$excluded"} \
    ${TEVUSB_WINDOWS_CTEST_ARGS:-}
  if [ "$own_server" = 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
    trap - EXIT
  fi
  echo "   tested after $((SECONDS - started)) s"
fi

[ "$INSTALLER" = 1 ] || exit 0
echo "== installer"
"$ROOT/packaging/windows/make-installer.sh" "$BUILD_DIR" "$(dep_prefix_path)"
version=$(sed -n 's/^project(tevusb VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
if [ "$RUN_TESTS" = 1 ]; then
  "$ROOT/packaging/windows/test-installer.sh" "$BUILD_DIR/tevusb-setup-$version.exe" "$version"
fi
echo "== $BUILD_DIR/tevusb-setup-$version.exe after $((SECONDS - started)) s"
