#!/bin/bash
# Scenario "installer": the 64-bit installer and uninstaller in a fresh Wine
# prefix of their own, driven by e2e_tests.exe (InstallerTest.cpp), the
# registry file of the portable archive beside the installer, and the import
# check of the uninstaller the installer wrote.
#
#   installer.sh E2E_TESTS_EXE SETUP_EXE WORK_DIR
#
# The prefix is WORK_DIR/prefix, made anew each run: the installer must find
# no settings of an earlier run. DISPLAY is used when set, else an Xvfb is
# started for this run and stopped again.
set -euo pipefail

tests_exe=${1:?e2e_tests.exe}
setup_exe=${2:?setup.exe}
work=${3:?work folder}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tools/wine-prefix.sh
source "$here/../../tools/wine-prefix.sh"

for f in "$tests_exe" "$setup_exe"; do
  if [ ! -f "$f" ]; then
    echo "e2e installer: missing $f (tools/package.sh makes the packages)" >&2
    exit 1
  fi
done
mkdir -p "$work"
work=$(cd "$work" && pwd)
prefix=$work/prefix
export WINEPREFIX=$prefix
t0=$(wp_now_ms)
phase() { printf 'e2e installer: %s (%s)\n' "$*" "$(wp_since "$t0")"; }

wp_cleanup_on_exit "$prefix" strict

wp_stop_server "$prefix" 30 || true
rm -rf "$prefix" "$work/Uninstall.exe" "$work/shots" "$work/portable"
wp_create "$prefix" desktop
mkdir -p "$work/disc" "$work/shots"
# One CD-ROM drive, so that the program in the notification area shows an
# icon; the system values a Windows installation has.
{
  wp_map_cdroms "$prefix" "d=$work/disc"
  wp_reg_version winxp morvel.exe
  wp_reg_windows_values
} | wp_import "$prefix"
phase "prefix ready"

# The portable archive beside the installer holds the registry file.
zip=${setup_exe%-setup.exe}.zip
python3 -m zipfile -e "$zip" "$work/portable"
reg_file=$(find "$work/portable" -name morvel-defaults.reg | head -1)

wp_start_xvfb
rc=0
MORVEL_SETUP=$(wp_winpath "$(cd "$(dirname "$setup_exe")" && pwd)/$(basename "$setup_exe")") \
MORVEL_EXE='C:\Program Files\Morvel\morvel.exe' \
MORVEL_E2E_WORK=$(wp_winpath "$work") \
MORVEL_E2E_SHOTS=$(wp_winpath "$work/shots") \
MORVEL_DEFAULTS_REG=$(wp_winpath "$reg_file") \
  timeout --kill-after=10 240 "$WINE64" "$tests_exe" --gtest_filter='Installer.*' --gtest_color=no \
  || rc=$?
phase "tests ended with $rc"

# The uninstaller is written by the installer from its own stub; it must
# load where the installer does.
python3 "$here/../../tools/check-imports.py" "$work/Uninstall.exe" || rc=1
exit "$rc"
