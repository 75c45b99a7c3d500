#!/bin/bash
# One end-to-end scenario: give the Wine prefix the drives it needs, run the
# scenario's test cases of e2e_tests.exe against morvel.exe, and make sure
# nothing of it is left running.
#
#   scenario.sh SCENARIO E2E_TESTS_EXE MORVEL_EXE WORK_DIR
#
# SCENARIO is "prefix" (only make sure the prefix exists) or one of the
# scenarios in scenarios.txt beside this script. The "tray", "discs" and
# "update" scenarios also need e2e_probe.exe beside E2E_TESTS_EXE; "aspi" the
# test ASPI library in the "aspi" folder beside E2E_TESTS_EXE's folder;
# "update" runs update-server.py on 127.0.0.1 for as long as its tests run.
# The prefix is $WINEPREFIX, or WORK_DIR/prefix when that is unset; DISPLAY
# is used when set, else an Xvfb is started for this run and stopped again.
set -euo pipefail

scenario=${1:?scenario}
tests_exe=${2:?e2e_tests.exe}
morvel_exe=${3:?morvel.exe}
work=${4:?work folder}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tools/wine-prefix.sh
source "$here/../../tools/wine-prefix.sh"

mkdir -p "$work"
work=$(cd "$work" && pwd)
prefix=${WINEPREFIX:-$work/prefix}
export WINEPREFIX=$prefix
t0=$(wp_now_ms)

phase() { printf 'e2e %s: %s (%s)\n' "$scenario" "$*" "$(wp_since "$t0")"; }

# Every process of the scenario must be gone by the end; a wineserver that
# does not end in time means one leaked, which fails the scenario.
wp_cleanup_on_exit "$prefix" strict

if [ ! -f "$prefix/system.reg" ]; then
  wp_create "$prefix" desktop
  phase "prefix created"
fi
[ "$scenario" = prefix ] && exit 0

for f in "$tests_exe" "$morvel_exe"; do
  if [ ! -f "$f" ]; then
    echo "e2e $scenario: missing $f" >&2
    exit 1
  fi
done

# The scenario's drives and test cases, from its line in scenarios.txt.
read -r _ drives filter < <(awk -v name="$scenario" '$1 == name' "$here/scenarios.txt") || true
if [ -z "${filter:-}" ]; then
  echo "e2e: unknown scenario $scenario" >&2
  exit 2
fi
letters=()
[ "$drives" = - ] || IFS=, read -r -a letters <<<"$drives"

# Fresh disc folders for every run. The first disc has an autorun file, the
# way a program's installation disc would.
discs=$work/discs/$scenario
rm -rf "$discs"
maps=()
for l in "${letters[@]}"; do
  mkdir -p "$discs/$l"
  maps+=("$l=$discs/$l")
done
probe=$(dirname "$tests_exe")/e2e_probe.exe
if [ "$scenario" = tray ]; then
  if [ ! -f "$probe" ]; then
    echo "e2e $scenario: missing $probe" >&2
    exit 1
  fi
  cp "$probe" "$discs/d/"
  # The blank splits the line into the program and its parameters.
  printf '[autorun]\r\nopen=e2e_probe.exe first second\r\nlabel=Morvel probe disc\r\n' \
    >"$discs/d/Autorun.inf"
  # The disc of a drive that comes while the program runs names a red icon.
  mkdir -p "$discs/new"
  python3 "$here/solid-icon.py" "$discs/new/disc.ico" FF0000
  printf '[autorun]\r\nicon=disc.ico\r\n' >"$discs/new/Autorun.inf"
  export MORVEL_E2E_NEW_DRIVE=$discs/new
elif [ "$scenario" = discs ]; then
  if [ ! -f "$probe" ]; then
    echo "e2e $scenario: missing $probe" >&2
    exit 1
  fi
  python3 "$here/solid-icon.py" "$discs/d/disc.ico" FF0000
  printf '[autorun]\r\nopen=setup.exe\r\nicon=DISC.ICO\r\n' >"$discs/d/Autorun.inf"
  cp "$probe" "$discs/e/"
  printf '[autorun]\r\nicon = e2e_probe.exe,0\r\n' >"$discs/e/Autorun.inf"
elif [ "$scenario" = no-drive ]; then
  :
elif [ "$scenario" = long-autorun ]; then
  printf '[autorun]\r\nopen=%s.exe /s\r\n' "$(printf 'p%.0s' {1..996})" >"$discs/d/Autorun.inf"
else
  printf '[autorun]\r\nopen=setup.exe\r\nlabel=Morvel test disc\r\n' >"$discs/${letters[0]}/Autorun.inf"
fi

if [ "$scenario" = aspi ]; then
  library=$(dirname "$tests_exe")/../aspi/WNASPI32.DLL
  if [ ! -f "$library" ]; then
    echo "e2e $scenario: missing $library" >&2
    exit 1
  fi
  # A copy of the program with the files it reads beside it, so that the
  # library sits beside this copy alone.
  program=$work/aspi-program
  rm -rf "$program"
  mkdir -p "$program"
  from=$(dirname "$morvel_exe")
  cp "$morvel_exe" "$from"/*.lng "$from"/*.ico "$library" "$program/"
  morvel_exe=$program/$(basename "$morvel_exe")
fi

# reg_text TEXT: TEXT as a quoted value of a .reg file.
reg_text() { local t=${1//\\/\\\\}; printf '"%s"' "${t//\"/\\\"}"; }

if [ "$scenario" = update ]; then
  # The maker's site on a free port; the program's setting points at it
  # (below). The probe stands in for the web browser, for web addresses and
  # web pages.
  export MORVEL_E2E_UPDATE_DIR MORVEL_PROBE_DIR
  update_dir=$work/update
  rm -rf "$update_dir"
  mkdir -p "$update_dir"
  python3 "$here/update-server.py" "$update_dir" &
  wp_track_pid $!
  for _ in $(seq 200); do
    [ -f "$update_dir/port" ] && break
    sleep 0.1
  done
  if [ ! -f "$update_dir/port" ]; then
    echo "e2e $scenario: the web server did not start" >&2
    exit 1
  fi
  MORVEL_E2E_UPDATE_DIR=$(wp_winpath "$update_dir")
  MORVEL_PROBE_DIR=$MORVEL_E2E_UPDATE_DIR
  phase "web server on port $(cat "$update_dir/port")"
fi

# Drives, the Windows version the program is meant for, and the program's
# own settings: English, window mode, no disc icons. Without them it would
# start hidden and report each missing value in a message box. The option
# pages read a few system values that a Windows installation has and a
# fresh Wine prefix lacks; each missing one would be reported too.
{
  wp_map_cdroms "$prefix" "${maps[@]}"
  wp_reg_version winxp morvel.exe
  wp_reg_key 'HKEY_LOCAL_MACHINE\Software\Tandrel\Morvel'
  wp_reg_sz Sprog English
  wp_reg_sz Tray Nej
  wp_reg_sz Ikon Nej
  if [ "$scenario" = soak ]; then
    wp_reg_sz AnimationMs 10
  else
    wp_reg_delete AnimationMs
  fi
  if [ "$scenario" = aspi ]; then
    # Wine loads its own built-in ASPI library in place of any file of that
    # name, even one given by its full path, unless told to prefer the file.
    wp_reg_key 'HKEY_CURRENT_USER\Software\Wine\AppDefaults\morvel.exe\DllOverrides'
    wp_reg_sz wnaspi32 native,builtin
  fi
  if [ "$scenario" = update ]; then
    wp_reg_key 'HKEY_LOCAL_MACHINE\Software\Tandrel\Morvel'
    wp_reg_sz UpdateURL "http://127.0.0.1:$(cat "$update_dir/port")/sware/curr_ver.txt"
    browser=$(wp_winpath "$(cd "$(dirname "$probe")" && pwd)/$(basename "$probe")")
    for key in http https htmlfile; do
      wp_reg_key "HKEY_CLASSES_ROOT\\$key\\shell\\open\\command"
      printf '@=%s\n' "$(reg_text "\"$browser\" \"%1\"")"
    done
  fi
  if [ "$scenario" = dpi ]; then
    # The first pass runs at 96 DPI (see below).
    wp_reg_key 'HKEY_CURRENT_USER\Control Panel\Desktop'
    wp_reg_dword LogPixels 96
  fi
  wp_reg_windows_values
} | wp_import "$prefix"
if [ "$scenario" = tray ]; then
  # A drive whose folder is gone is still a CD-ROM drive to Wine, but its
  # size cannot be read: the drive is empty.
  rmdir "$discs/e"
fi
phase "drives ${letters[*]} ready"

wp_start_xvfb

# The test program's own limit comes well before ctest's, so that a hung run
# still ends here and the clean-up above runs. MORVEL_E2E_LIMIT (seconds)
# raises it for the long soak.
rc=0
cdroms=$(printf '%s' "${letters[@]}")
run_tests() {
  MORVEL_E2E_CDROMS=${cdroms^^} \
  MORVEL_EXE=$(wp_winpath "$(cd "$(dirname "$morvel_exe")" && pwd)/$(basename "$morvel_exe")") \
    timeout --kill-after=10 "${MORVEL_E2E_LIMIT:-180}" "$WINE64" "$tests_exe" --gtest_filter="Prefix.*:$filter" --gtest_color=no
}
if [ "$scenario" = dpi ]; then
  # The display scale is the prefix's LogPixels, which Wine reads when its
  # server starts: a pass at 96 writes down the layout, a pass at 144
  # compares. The prefix goes back to 96 for whatever runs next.
  set_dpi() {
    wp_stop_server "$prefix" 30 || true
    { wp_reg_key 'HKEY_CURRENT_USER\Control Panel\Desktop'; wp_reg_dword LogPixels "$1"; } |
      wp_import "$prefix"
  }
  export MORVEL_E2E_DPI MORVEL_E2E_LAYOUT
  MORVEL_E2E_LAYOUT=$(wp_winpath "$work")\\dpi-layout.txt
  for MORVEL_E2E_DPI in 96 144 288; do
    [ "$MORVEL_E2E_DPI" = 96 ] || set_dpi "$MORVEL_E2E_DPI"
    run_tests || { rc=$?; break; }
    phase "pass at $MORVEL_E2E_DPI DPI done"
  done
  set_dpi 96
else
  run_tests || rc=$?
fi
phase "tests ended with $rc"
exit "$rc"
