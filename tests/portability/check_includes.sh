#!/bin/sh
# SPDX-License-Identifier: MIT
# The layers a port builds unchanged (log, text, settings, data, analysis, library, the
# command line's file commands) name operating-system headers only inside a
# preprocessor condition that picks the system's branch.
set -eu
src=${1:?usage: check_includes.sh SRC_DIR}
status=0
for dir in log text settings data analysis library cli; do
  [ -d "$src/$dir" ] || continue
  for file in $(find "$src/$dir" -name '*.cpp' -o -name '*.h'); do
    awk -v file="$file" '
      /^[ \t]*#[ \t]*if/ { depth++ }
      /^[ \t]*#[ \t]*endif/ { depth-- }
      /^[ \t]*#[ \t]*include[ \t]*<(sys\/|linux\/|unistd\.h|fcntl\.h|poll\.h|libudev\.h|termios\.h|dlfcn\.h|pthread\.h|io\.h|windows\.h)/ {
        if (depth <= 0) { printf "%s:%d: unguarded system header: %s\n", file, NR, $0; bad = 1 }
      }
      END { exit bad }' "$file" || status=1
  done
done
# The command line's device commands may use the device layer, but its file commands
# and the core must not need the Linux-only parts.
if grep -n 'udev\|hidraw' "$src"/data/*.cpp "$src"/data/*.h "$src"/log/*.cpp "$src"/cli/file_commands.cpp; then
  status=1
fi
exit $status
