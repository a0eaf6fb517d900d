# SPDX-License-Identifier: MIT
# Sourced by build-windows.sh: cross-builds the libraries tevusb links, from Debian's own
# source packages, each into a prefix of its own outside the checkout. A prefix is named
# by the package version and a hash of its recipe (and of the recipes it builds on), so a
# second run reuses it and a changed recipe builds anew.

# The Debian binary package whose version names the source we build.
declare -A DEP_BINARY=(
  [zlib]=zlib1g-dev [libpng1.6]=libpng-dev [expat]=libexpat1-dev [libzip]=libzip-dev
  [sqlite3]=libsqlite3-dev [nettle]=nettle-dev [hidapi]=libhidapi-dev
  [googletest]=libgtest-dev [nlohmann-json3]=nlohmann-json3-dev [qt6-base]=qt6-base-dev
)
declare -A DEP_NEEDS=([libpng1.6]=zlib [libzip]=zlib)
declare -A DEP_PREFIX=()
DEPS_IN_ORDER=(qt6-base zlib libpng1.6 expat libzip sqlite3 nettle hidapi googletest nlohmann-json3)
# A subset, for trying one recipe: TEVUSB_WINDOWS_DEPS="zlib libzip".
read -r -a DEPS_IN_ORDER <<<"${TEVUSB_WINDOWS_DEPS:-${DEPS_IN_ORDER[*]}}"

# The source version behind a binary package's candidate (a binary-only rebuild "+bN"
# has no source of its own).
dep_version() {
  apt-cache policy "${DEP_BINARY[$1]}" | awk '/Candidate:/ {print $2}' | sed 's/+b[0-9]*$//'
}

dep_key() {
  local name=$1 recipe_hash needs=""
  recipe_hash=$({
    declare -f "recipe_${name//[.-]/_}"
    cat "$TOOLCHAIN"
    "$MINGW_CXX" --version | head -1
    for d in ${DEP_NEEDS[$name]:-}; do echo "$d=$(dep_key "$d")"; done
  } | sha256sum | cut -c1-12)
  echo "$(dep_version "$name" | tr ':' '_')-$recipe_hash"
}

DEB_SRC_LIST=/etc/apt/sources.list.d/tevusb-windows-src.sources
deb_src_on() {
  # Removed however the script ends: a time limit's TERM too (and a run stopped before it
  # could remove the file removes it in the next).
  trap deb_src_off EXIT
  trap 'exit 143' TERM INT
  [ -f "$DEB_SRC_LIST" ] && return 0
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$DEB_SRC_LIST" >/dev/null
  $SUDO apt-get update -qq
}
deb_src_off() {
  if [ -f "$DEB_SRC_LIST" ]; then
    $SUDO rm -f "$DEB_SRC_LIST"
    $SUDO apt-get update -qq || true
  fi
}

# Unpacks the Debian source (with Debian's patches applied) into the work folder `$3` and
# prints its path. When the archive no longer serves that exact version (a security
# update's files do go missing), the other versions it lists are tried, newest first.
fetch_source() {
  local name=$1 version=$2 work=$3 v
  mkdir -p "$work"
  for v in "$version" $(apt-cache showsrc "$name" | awk '/^Version:/ {print $2}' | sort -Vr | grep -vxF "$version"); do
    if (cd "$work" && apt-get source -qq "$name=$v" >/dev/null 2>"$work.fetch.log"); then
      [ "$v" = "$version" ] || echo "  $name: $version is not downloadable, built $v instead" >&2
      echo "$v" >"$work.version"
      find "$work" -mindepth 1 -maxdepth 1 -type d | head -1
      return 0
    fi
    rm -rf "${work:?}"/*
  done
  cat "$work.fetch.log" >&2
  return 1
}

cmake_dep() {
  local src=$1 prefix=$2
  shift 2
  cmake -S "$src" -B "$src/_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$(dep_prefix_path)" -DBUILD_SHARED_LIBS=OFF "$@" >"$src/_configure.log"
  nice -n 5 ninja -C "$src/_build" -j"$JOBS" install >"$src/_build.log"
}

dep_prefix_path() {
  local IFS=';'
  echo "${DEP_PREFIX[*]}"
}

recipe_qt6_base() {
  # Shared Qt with the platform plugins; everything Qt can bring itself is bundled, and
  # the modules and image formats the program does not use are left out. Debian's
  # tarball lacks the wintab headers, hence no tablet events. Direct2D stays on: the DirectWrite font engine, which
  # the print engine uses, is compiled only with it. Without OpenGL, "dynamic GL" must go
  # too, or the Windows platform plugin fails to compile; and configure must be told "no
  # OpenGL" as its -opengl no would (INPUT_opengl), or it stops with an error on Windows.
  # No JIT for regular expressions: after a JIT match in a worker thread, the thread's end
  # crashed in the JIT stack's thread_local destructor (MinGW), and the program's few
  # expressions gain nothing from it.
  cmake_dep "$1" "$2" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DINPUT_opengl=no -DCMAKE_C_FLAGS=-DPCRE2_DISABLE_JIT \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
    -DFEATURE_direct2d=ON \
    -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_textmarkdownreader=OFF
}

recipe_zlib() {
  # Debian's tarball has no win32/ folder, which the DLL's resources need: the static
  # library alone is built and installed by hand.
  local src=$1 prefix=$2
  cmake -S "$src" -B "$src/_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release >"$src/_configure.log"
  nice -n 5 ninja -C "$src/_build" -j"$JOBS" zlibstatic >"$src/_build.log"
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$src/_build/libzlibstatic.a" "$prefix/lib/libz.a"
  cp "$src/zlib.h" "$src/_build/zconf.h" "$prefix/include/"
}

recipe_libpng1_6() {
  cmake_dep "$1" "$2" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
}

recipe_expat() {
  # Debian's security patches test "#if XML_DTD == 1", which the CMake build defines
  # empty: configure, give the switches their value, then build.
  local src=$1/expat prefix=$2
  cmake -S "$src" -B "$src/_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DEXPAT_SHARED_LIBS=OFF \
    -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
    -DEXPAT_BUILD_DOCS=OFF >"$src/_configure.log"
  sed -i -E 's/^#define (XML_DTD|XML_NS|XML_GE)[[:space:]]*$/#define \1 1/' "$src/_build/expat_config.h"
  nice -n 5 ninja -C "$src/_build" -j"$JOBS" install >"$src/_build.log"
}

recipe_libzip() {
  # Only deflate is needed to read a simulator's zipped design file.
  cmake_dep "$1" "$2" -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF \
    -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_COMMONCRYPTO=OFF \
    -DENABLE_WINDOWS_CRYPTO=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_DOC=OFF
}

recipe_sqlite3() {
  # Debian ships SQLite's full source tree: the build machine makes the one-file
  # amalgamation (it needs tclsh), which is then compiled for Windows.
  local src=$1 prefix=$2
  (cd "$src" && mkdir -p _host && cd _host && ../configure -q >/dev/null && nice -n 5 make -s sqlite3.c >/dev/null)
  mkdir -p "$prefix/lib/pkgconfig" "$prefix/include"
  nice -n 5 "$MINGW_CC" -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c "$src/_host/sqlite3.c" -o "$src/_host/sqlite3.o"
  "$MINGW_AR" rcs "$prefix/lib/libsqlite3.a" "$src/_host/sqlite3.o"
  cp "$src/_host/sqlite3.h" "$src/_host/sqlite3ext.h" "$prefix/include/"
  write_pc "$prefix" sqlite3 "$3" "-lsqlite3"
}

recipe_nettle() {
  # Only the hashes: no public-key code, so no GMP. Debian's patches leave configure.ac
  # newer than what it generates; the generated files are what is built from.
  local src=$1 prefix=$2
  (cd "$src" && touch aclocal.m4 configure config.h.in stamp-h.in &&
    ./configure -q --host="$MINGW_TRIPLET" --prefix="$prefix" --disable-shared \
      --enable-static --disable-public-key --disable-documentation --disable-openssl \
      --disable-assembler >/dev/null &&
    nice -n 5 make -s -j"$JOBS" libnettle.a >/dev/null &&
    make -s install-headers install-static install-pkgconfig >/dev/null)
}

recipe_hidapi() {
  cmake_dep "$1" "$2" -DHIDAPI_WITH_TESTS=OFF -DHIDAPI_BUILD_HIDTEST=OFF
  # The static library's own system libraries, which its .pc leaves out.
  echo "Libs.private: -lsetupapi -lcfgmgr32" >>"$2/lib/pkgconfig/hidapi.pc"
}

recipe_nlohmann_json3() {
  # Headers only, with the CMake package the program finds them by.
  cmake_dep "$1" "$2" -DJSON_BuildTests=OFF -DJSON_Install=ON
}

recipe_googletest() {
  cmake_dep "$1" "$2" -Dgtest_disable_pthreads=OFF
}

write_pc() {
  local prefix=$1 name=$2 version=$3 libs=$4
  cat >"$prefix/lib/pkgconfig/$name.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include
Name: $name
Description: $name, cross-built for Windows
Version: $version
Libs: -L\${libdir} $libs
Cflags: -I\${includedir}
EOF
}

build_dep() {
  local name=$1 version key prefix work src
  version=$(dep_version "$name")
  key=$(dep_key "$name")
  prefix="$CACHE_ROOT/$name-$key"
  DEP_PREFIX[$name]=$prefix
  if [ -f "$prefix/.built" ]; then
    echo "  $name $version: cached ($prefix)"
    return 0
  fi
  echo "  $name $version: building ..."
  local started=$SECONDS
  work="$CACHE_ROOT/work/$name"
  rm -rf "$prefix"
  # A build stopped part way (the machine went down, a session ended) goes on where it
  # stopped when its recipe is still the same.
  if [ "$(cat "$work.key" 2>/dev/null)" = "$key" ] && [ -f "$work.version" ]; then
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
    echo "  $name: going on with the build in $work"
  else
    rm -rf "$work" "$work".*
    deb_src_on
    src=$(fetch_source "$name" "$version" "$work")
    echo "$key" >"$work.key"
  fi
  "recipe_${name//[.-]/_}" "$src" "$prefix" "${version%%-*}"
  cp "$work.version" "$prefix/.built"
  rm -rf "$work" "$work".*
  echo "  $name $(cat "$prefix/.built"): built in $((SECONDS - started)) s"
}

build_deps() {
  local name
  for name in "${DEPS_IN_ORDER[@]}"; do build_dep "$name"; done
}
