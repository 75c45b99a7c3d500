#!/bin/bash
# Builds the 64-bit morvel.exe and runs it under Wine with two CD-ROM drives
# made of folders (D: with an autorun file, E: empty). Sets up the machine
# first (tools/setup.sh, as root on Debian 12).
#
#   tools/run.sh
#   MORVEL_LANGUAGE=Deutsch tools/run.sh    (headless: the screenshot in German)
#   tools/run.sh --pictures                 (the README's pictures, see below)
#
# With a DISPLAY the program runs until you end it. Without one it runs on a
# private Xvfb: once its main window is up, a screenshot of the whole screen
# is written to build/run/morvel.png; then the program starts once more in
# tray mode for build/run/morvel-tray.png (the paths are printed), and the
# program, the Wine processes and the Xvfb are ended again.
#
# --pictures always runs on a private Xvfb and also cuts the two pictures at
# the top of README.md out of the screenshots: the main window alone
# (docs/images/main-window.png) and the right end of the taskbar with the
# tray icons, at twice their size (docs/images/tray.png).
#
# The Wine prefix is build/wine/run-prefix, kept between runs (the tests use
# their own). Remove it to start over.
set -euo pipefail

pictures=
case "${1:-}" in
  "") ;;
  --pictures) pictures=1 ;;
  *) echo "usage: tools/run.sh [--pictures]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=tools/wine-prefix.sh
source "$root/tools/wine-prefix.sh"

prefix=$root/build/wine/run-prefix
discs=$root/build/wine/run-discs
language=${MORVEL_LANGUAGE:-English}
shot=$root/build/run/morvel.png
if [ "$language" != English ]; then
  shot=$root/build/run/morvel-${language,,}.png
fi
exe=$root/build/win64/morvel.exe
title="Morvel v 2.3"
morvel_pid=
wp_cleanup_on_exit "$prefix"

"$root/tools/setup.sh"

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target morvel -j 2
[ -f "$exe" ] || { echo "run: $exe was not built" >&2; exit 1; }

headless=
[ -n "${DISPLAY:-}" ] || headless=1
if [ -n "$pictures" ]; then
  # The same picture on every machine: the private screen, never the user's.
  unset DISPLAY
  headless=1
fi

first_run=
if [ ! -f "$prefix/system.reg" ]; then
  wp_create "$prefix"
  first_run=1
fi

mkdir -p "$discs/d" "$discs/e"
printf '[autorun]\r\nopen=notepad.exe readme.txt\r\nlabel=Morvel demo disc\r\n' >"$discs/d/Autorun.inf"
printf 'A folder that Wine shows as a CD-ROM drive.\r\n' >"$discs/d/readme.txt"

{
  wp_map_cdroms "$prefix" d="$discs/d" e="$discs/e"
  # On a bare Xvfb Wine's own desktop gives frames and a taskbar with the
  # tray; on a real display the windows and tray icons go to the user's desktop.
  if [ -n "$headless" ]; then wp_reg_desktop on; else wp_reg_desktop off; fi
  if [ -n "$first_run" ] || [ -n "$headless" ]; then
    # Start-up settings: the language asked for (English by default), the
    # main window rather than the tray only, no disc icons. A screenshot needs
    # the window, so a headless run always asks for it; otherwise the user's
    # own choices from earlier runs stay.
    wp_reg_key 'HKEY_LOCAL_MACHINE\Software\Tandrel\Morvel'
    wp_reg_sz Sprog "$language"
    wp_reg_sz Tray Nej
    wp_reg_sz Ikon Nej
    wp_reg_windows_values
  fi
} | wp_import "$prefix"

if [ -n "$headless" ]; then
  wp_start_xvfb
fi

export WINEPREFIX=$prefix
start_morvel() {
  (cd "$(dirname "$exe")" && exec "$WINE64" "$(basename "$exe")") &
  morvel_pid=$!
  wp_track_pid "$morvel_pid"
  echo "run: morvel.exe started (pid $morvel_pid) on $DISPLAY"
}

stop_morvel() {
  wp_stop_pid "$morvel_pid"
  morvel_pid=
  wp_stop_server "$prefix" 30 || true
}

screenshot() {
  mkdir -p "$(dirname "$1")"
  xwd -root -silent | /usr/bin/convert xwd:- "png:$1"
  echo "run: screenshot $1"
}

# picture SCREENSHOT NAME CONVERT-OPTIONS...: a part of a screenshot for the
# README, without the time stamps that would change it on every run.
picture() {
  local from=$1 to=$root/docs/images/$2
  shift 2
  mkdir -p "$(dirname "$to")"
  /usr/bin/convert "$from" "$@" +repage -strip -define png:exclude-chunks=date,time "png:$to"
  echo "run: picture $to ($(stat -c %s "$to") bytes)"
}

# The place of a window on the screen as WxH+X+Y, frame included: on Wine's
# desktop the frame is part of the window's X window.
window_geometry() {
  xwininfo -name "$1" | awk '
    /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
    END { printf "%sx%s+%s+%s\n", w, h, x, y }'
}

start_morvel

if [ -z "$headless" ]; then
  rc=0
  wait "$morvel_pid" || rc=$?
  wp_forget_pid "$morvel_pid"
  morvel_pid=
  echo "run: morvel.exe ended ($rc)"
  exit 0
fi

# Wine gives each top-level window an X window with its title; wait until the
# main window is mapped, then give it a moment to paint.
shown=
for _ in $(seq 1 600); do
  if xwininfo -name "$title" 2>/dev/null | grep -q 'Map State: IsViewable'; then
    shown=1
    break
  fi
  kill -0 "$morvel_pid" 2>/dev/null || break
  sleep 0.05
done
if [ -n "$shown" ]; then
  # Xvfb keeps its pointer in the middle of the screen, over the window, and
  # it cannot be moved there; the tooltip it calls up goes again after five
  # seconds and stays away while the pointer rests. It comes a moment after
  # the window is mapped and fades out black, so give it some seconds more.
  sleep 9
else
  echo "run: no visible window \"$title\" within 30 s; taking the screenshot anyway" >&2
fi
screenshot "$shot"
if [ -n "$pictures" ] && [ -n "$shown" ]; then
  picture "$shot" main-window.png -crop "$(window_geometry "$title")"
fi
stop_morvel

# The same program in tray mode: no window, one icon per drive in the
# taskbar's notification area.
{
  wp_reg_key 'HKEY_LOCAL_MACHINE\Software\Tandrel\Morvel'
  wp_reg_sz Tray Ja
} | wp_import "$prefix"
start_morvel
# Nothing to wait for from outside Wine's desktop: the icons come within a
# second or two of the start.
sleep 8
screenshot "${shot%.png}-tray.png"
if [ -n "$pictures" ]; then
  # The taskbar is as high as a small icon with its border, 20 pixels.
  picture "${shot%.png}-tray.png" tray.png -gravity SouthEast -crop 96x20+0+0 +repage -scale 200%
fi
stop_morvel
# Back to window mode, for the next run on a display.
{
  wp_reg_key 'HKEY_LOCAL_MACHINE\Software\Tandrel\Morvel'
  wp_reg_sz Tray Nej
} | wp_import "$prefix"
[ -n "$shown" ]
