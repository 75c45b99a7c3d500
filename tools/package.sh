#!/bin/bash
# Builds the release programs for 64-bit and 32-bit Windows and makes their
# packages with CPack (cmake/Packaging.cmake) in build/packages:
#
#   morvel-<version>-x64-setup.exe  morvel-<version>-x64.zip
#   morvel-<version>-x86-setup.exe  morvel-<version>-x86.zip
#
#   tools/package.sh
#
# Sets up the machine first (tools/setup.sh; makensis is Debian's nsis).
# Builds only what the packages hold, so it is quick after tools/test.sh.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out=$root/build/packages

"$root/tools/setup.sh" >/dev/null
mkdir -p "$out"
for preset in win64 win32; do
  # A configured build folder re-runs its configuration itself when needed.
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset" -j "${JOBS:-2}" --target morvel morvel_help
  # Packages of an earlier run must not stand in for ones this run failed
  # to make.
  rm -f "$out"/morvel-*-"$([ "$preset" = win64 ] && echo x64 || echo x86)"{-setup.exe,.zip}
  (cd "build/$preset" && cpack -G "NSIS;ZIP" >"$out/cpack-$preset.log") || {
    cat "$out/cpack-$preset.log" >&2
    exit 1
  }
done
# The packages, and the programs they hold.
ls -l "$out"/*.exe "$out"/*.zip build/win64/morvel.exe build/win32/morvel.exe
