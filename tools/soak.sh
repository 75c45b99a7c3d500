#!/bin/bash
# Resource soak: the real morvel.exe under Wine is worked through its
# windows for 250 rounds (--short: 25), each switching the language there
# and back, opening and closing the tray menu on each of its two icons,
# hiding and showing the icons and switching the drive box there and back,
# while the icons animate every 10 ms: 500 language switches, 500 menu
# opens and 10 000 icon changes and more. Prints the process's handles, GDI and
# USER objects and private bytes before and after, and fails when any grew
# past the stated noise (tests/e2e/SoakTest.cpp).
#
#   tools/soak.sh [--short]
#
# Uses $WINEPREFIX when set, else its own prefix in build/soak; starts an
# Xvfb when DISPLAY is unset. The short form is also the e2e_soak test.
set -euo pipefail

rounds=250
if [ "${1:-}" = --short ]; then
  rounds=25
elif [ -n "${1:-}" ]; then
  echo "usage: tools/soak.sh [--short]" >&2
  exit 2
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/win64
cmake --build --preset win64 -j2 --target morvel e2e_tests >/dev/null

export MORVEL_SOAK_ROUNDS=$rounds MORVEL_E2E_LIMIT=$((rounds * 3 + 120))
exec bash "$root/tests/e2e/scenario.sh" soak "$build/tests/e2e/e2e_tests.exe" \
  "$build/morvel.exe" "$root/build/soak"
