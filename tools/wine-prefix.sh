# shellcheck shell=bash
# Wine helpers for Morvel's scripts. Source this file; it defines functions
# and sets nothing but the Wine variables below.
#
# Everything works on a private prefix given as the first argument (never the
# user's ~/.wine). Only the 64-bit loader runs on our machines, so Wine is
# always started as /usr/lib/wine/wine64.
#
#   wp_create PREFIX [desktop]     new prefix (wineboot -i), crash dialog off,
#                                  optionally Wine's own desktop of 1024x768
#                                  with a taskbar (see wp_reg_desktop)
#   wp_stop_server PREFIX [SECS]   wait for the prefix's wineserver to end;
#                                  ends it with -k only after SECS (default 30)
#   wp_set_cdroms PREFIX L=DIR...  make exactly these letters folder-backed
#                                  CD-ROM drives (other letters d: to y: are
#                                  unmapped); leaves the wineserver down
#   wp_map_cdroms PREFIX L=DIR...  the same links, but only prints the .reg
#                                  text, to import it with other values
#   wp_set_version PREFIX VER [EXE]  the Windows version EXE (default
#                                  morvel.exe) is told it runs on
#   wp_import PREFIX               import a .reg text given on stdin, then
#                                  wait for the wineserver to end
#   wp_reg_* ...                   print .reg fragments for wp_import
#   wp_start_xvfb / wp_stop_xvfb   a private Xvfb when DISPLAY is unset
#   wp_winpath PATH                Z:\ form of an absolute Unix path
#   wp_cleanup_on_exit PREFIX [strict]  on exit, end what the script started
#   wp_track_pid PID / wp_stop_pid PID  a process for that clean-up to end
#   wp_forget_pid PID              one that ended and was waited for

WINE64=/usr/lib/wine/wine64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts in a new prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

wp_log() { printf 'wine-prefix: %s\n' "$*" >&2; }

# Milliseconds since the epoch, and a duration since such a stamp as "12.3s".
wp_now_ms() { local t=${EPOCHREALTIME/[.,]/}; printf '%s\n' $((t / 1000)); }
wp_since() {
  local ms=$(($(wp_now_ms) - $1))
  printf '%d.%01ds\n' $((ms / 1000)) $((ms % 1000 / 100))
}

wp_check_prefix_arg() {
  if [ -z "${1:-}" ]; then
    wp_log "no prefix given"
    return 1
  fi
  case "$1" in
    /*) ;;
    *) wp_log "prefix must be an absolute path: $1"; return 1 ;;
  esac
  if [ "$1" = "$HOME/.wine" ]; then
    wp_log "refusing to touch the user's own prefix $1"
    return 1
  fi
}

# Z: is the root of the Unix file system in every prefix, so an absolute Unix
# path is reached as Z: plus the path with backslashes. No Wine process needed.
wp_winpath() {
  local p=$1
  printf 'Z:%s\n' "${p//\//\\}"
}

wp_stop_server() {
  local prefix=$1 secs=${2:-30}
  wp_check_prefix_arg "$prefix" || return 1
  [ -d "$prefix" ] || return 0
  if WINEPREFIX=$prefix timeout "$secs" wineserver -w; then
    return 0
  fi
  # Something of ours is still running in this prefix. End the prefix's own
  # server (and with it only this prefix's processes), then wait for it.
  wp_log "wineserver of $prefix still busy after ${secs}s; ending it"
  WINEPREFIX=$prefix wineserver -k || true
  WINEPREFIX=$prefix timeout 30 wineserver -w || true
  return 2
}

# Reads a .reg text (without the header) on stdin and imports it with one
# reg.exe run. reg.exe starts the prefix's wineserver; it is waited for, so
# the next Wine process starts with a fresh server that reads the new values.
wp_import() {
  local prefix=$1 file
  wp_check_prefix_arg "$prefix" || return 1
  file=$(mktemp "${TMPDIR:-/tmp}/morvel-reg.XXXXXX")
  { printf 'REGEDIT4\n\n'; cat; printf '\n'; } >"$file"
  local rc=0 try
  # reg.exe has been seen to fail once, now and then, while the prefix's
  # previous server was still ending; a second run then succeeds.
  for try in 1 2; do
    [ "$try" = 2 ] && wp_log "reg import failed with $rc; once more"
    rc=0
    WINEPREFIX=$prefix "$WINE64" reg import "$(wp_winpath "$file")" >/dev/null 2>&1 || rc=$?
    wp_stop_server "$prefix" || true
    [ "$rc" = 0 ] && break
  done
  rm -f "$file"
  if [ "$rc" != 0 ]; then
    wp_log "reg import failed with $rc"
    return 1
  fi
}

# .reg fragments. Strings are written as given: keep them free of quotes.
wp_reg_key() { printf '[%s]\n' "$1"; }
wp_reg_sz() { printf '"%s"="%s"\n' "$1" "$2"; }
wp_reg_default() { printf '@="%s"\n' "$1"; }
wp_reg_dword() { printf '"%s"=dword:%08x\n' "$1" "$2"; }
wp_reg_delete() { printf '"%s"=-\n' "$1"; }

# The system values that a Windows installation has and a fresh prefix lacks,
# which the option pages read at start; each missing one would be reported
# in a message box.
wp_reg_windows_values() {
  wp_reg_key 'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
  wp_reg_key 'HKEY_LOCAL_MACHINE\SOFTWARE\Classes\AudioCD\Shell'
  wp_reg_default play
  wp_reg_key 'HKEY_LOCAL_MACHINE\SOFTWARE\Classes\AudioCD\Shell\Play\Command'
  wp_reg_default 'cdplayer.exe /play %1'
  wp_reg_key 'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon'
  wp_reg_sz AllocateCDRoms 0
}

# Wine's own desktop of 1024x768 with its taskbar ("on"), or windows of their
# own on the X display ("off"). On Wine's desktop Wine draws the window frames
# and the notification area itself, so a screenshot under a bare Xvfb looks
# like Windows and shows the tray icons; without it, and without a window
# manager, windows have no frames at all.
wp_reg_desktop() {
  wp_reg_key 'HKEY_CURRENT_USER\Software\Wine\Explorer'
  if [ "$1" = on ]; then
    wp_reg_sz Desktop Default
    wp_reg_key 'HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops'
    wp_reg_sz Default 1024x768
    wp_reg_key 'HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\Default'
    wp_reg_dword EnableShell 1
  else
    wp_reg_delete Desktop
  fi
}

wp_reg_version() {
  local ver=$1 exe=${2:-morvel.exe}
  case "$ver" in
    win95 | win98 | winme | nt40 | win2k | winxp | winxp64 | vista | win7 | win8 | win10) ;;
    *) wp_log "unknown Windows version: $ver"; return 1 ;;
  esac
  wp_reg_key "HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\$exe"
  wp_reg_sz Version "$ver"
}

wp_set_version() {
  local prefix=$1 ver=$2 exe=${3:-morvel.exe} text
  text=$(wp_reg_version "$ver" "$exe") || return 1
  wp_import "$prefix" <<<"$text"
}

wp_create() {
  local prefix=$1 desktop=${2:-}
  wp_check_prefix_arg "$prefix" || return 1
  mkdir -p "$(dirname "$prefix")"
  local start
  start=$(wp_now_ms)
  WINEPREFIX=$prefix "$WINE64" wineboot -i >/dev/null 2>&1 || {
    wp_log "wineboot failed for $prefix"
    return 1
  }
  WP_WINEBOOT_TIME=$(wp_since "$start")
  # The import reuses wineboot's server and waits for it to end.
  {
    # A crashing test program must end, not wait for someone to close a dialog.
    wp_reg_key 'HKEY_CURRENT_USER\Software\Wine\WineDbg'
    wp_reg_dword ShowCrashDialog 0
    # Without a window manager, Wine waits about two seconds for one each
    # time a managed window is hidden or destroyed; unmanaged windows don't.
    wp_reg_key 'HKEY_CURRENT_USER\Software\Wine\X11 Driver'
    wp_reg_sz Managed N
    if [ -n "$desktop" ]; then
      wp_reg_desktop on
    fi
  } | wp_import "$prefix" || return 1
  WP_CREATE_TIME=$(wp_since "$start")
  wp_log "created $prefix in $WP_CREATE_TIME (wineboot $WP_WINEBOOT_TIME)"
}

# wp_map_cdroms PREFIX d=/some/folder e=/other/folder ...
# Links the folders as drives and prints the registry text that marks them as
# CD-ROM drives and unmarks every other letter. The wineserver must be down
# (it is waited for here): Wine decides a drive's type when its mount manager
# starts, from HKLM\Software\Wine\Drives, so the values take effect with the
# next server after the import (GetDriveTypeA then answers 5 for them).
wp_map_cdroms() {
  local prefix=$1
  shift
  wp_check_prefix_arg "$prefix" || return 1
  local devs=$prefix/dosdevices
  [ -d "$devs" ] || { wp_log "no prefix at $prefix"; return 1; }
  wp_stop_server "$prefix" >&2 || true

  local -A want=()
  local arg letter dir
  for arg in "$@"; do
    letter=${arg%%=*}
    letter=${letter,,}
    dir=${arg#*=}
    case "$letter" in
      [d-y]) ;;
      *) wp_log "drive letter must be d to y: $arg"; return 1 ;;
    esac
    [ -d "$dir" ] || { wp_log "not a folder: $dir"; return 1; }
    want[$letter]=$(cd "$dir" && pwd)
  done

  for letter in d e f g h i j k l m n o p q r s t u v w x y; do
    # c: and z: stay; a test prefix has nothing else of its own here.
    rm -f "$devs/$letter:" "$devs/$letter::"
    if [ -n "${want[$letter]:-}" ]; then
      ln -s "${want[$letter]}" "$devs/$letter:"
    fi
  done

  wp_reg_key 'HKEY_LOCAL_MACHINE\Software\Wine\Drives'
  for letter in d e f g h i j k l m n o p q r s t u v w x y; do
    if [ -n "${want[$letter]:-}" ]; then
      wp_reg_sz "$letter:" cdrom
    else
      wp_reg_delete "$letter:"
    fi
  done
}

wp_set_cdroms() {
  local prefix=$1 text
  text=$(wp_map_cdroms "$@") || return 1
  wp_import "$prefix" <<<"$text"
}

# Starts Xvfb on a free display when DISPLAY is unset and exports DISPLAY.
# The server's pid is kept in WP_XVFB_PID for wp_stop_xvfb.
WP_XVFB_PID=
wp_start_xvfb() {
  if [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  local fifo dir num=
  dir=$(mktemp -d "${TMPDIR:-/tmp}/morvel-xvfb.XXXXXX")
  fifo=$dir/displayfd
  mkfifo "$fifo"
  # -displayfd makes Xvfb take the first free display and write its number
  # once it accepts clients, so there is no guessing and no sleeping.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" \
    >"$dir/xvfb.log" 2>&1 &
  WP_XVFB_PID=$!
  if ! read -r -t 20 num <"$fifo" || [ -z "$num" ]; then
    wp_log "Xvfb did not start; log:"
    cat "$dir/xvfb.log" >&2 || true
    wp_stop_xvfb
    rm -rf "$dir"
    return 1
  fi
  rm -rf "$dir"
  export DISPLAY=:$num
  wp_log "Xvfb pid $WP_XVFB_PID on $DISPLAY"
}

wp_stop_xvfb() {
  if [ -n "$WP_XVFB_PID" ]; then
    kill "$WP_XVFB_PID" 2>/dev/null || true
    wait "$WP_XVFB_PID" 2>/dev/null || true
    WP_XVFB_PID=
    unset DISPLAY
  fi
}

# The clean-up every script needs, however it ends (an error under set -e,
# Ctrl-C, TERM): the processes it listed with wp_track_pid (the program, a
# web server) end by their own ids, the prefix's wineserver is waited for
# (and ended after 30 s), and the Xvfb of wp_start_xvfb is stopped. Nothing
# is ever ended by name: other Wine sessions may run beside ours. With
# "strict" a wineserver that had to be ended means a process leaked, and the
# script fails.
WP_TRACKED_PIDS=()
WP_CLEANUP_PREFIX=
WP_CLEANUP_STRICT=
wp_track_pid() { WP_TRACKED_PIDS+=("$1"); }

# A process that was waited for already is only forgotten: its id may be
# another process's by now.
wp_forget_pid() {
  local p kept=()
  for p in "${WP_TRACKED_PIDS[@]}"; do
    [ "$p" = "$1" ] || kept+=("$p")
  done
  WP_TRACKED_PIDS=("${kept[@]}")
}

wp_stop_pid() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
  wp_forget_pid "$1"
}

# shellcheck disable=SC2317  # run by the trap
wp_cleanup() {
  local rc=$? pid
  trap - EXIT INT TERM
  for pid in "${WP_TRACKED_PIDS[@]}"; do
    wp_stop_pid "$pid"
  done
  if [ -n "$WP_CLEANUP_PREFIX" ] && ! wp_stop_server "$WP_CLEANUP_PREFIX" 30 \
     && [ -n "$WP_CLEANUP_STRICT" ]; then
    wp_log "Wine processes were still running in $WP_CLEANUP_PREFIX afterwards"
    rc=1
  fi
  wp_stop_xvfb
  exit "$rc"
}

wp_cleanup_on_exit() {
  WP_CLEANUP_PREFIX=$1
  WP_CLEANUP_STRICT=
  if [ "${2:-}" = strict ]; then WP_CLEANUP_STRICT=1; fi
  trap wp_cleanup EXIT
  trap 'exit 130' INT TERM
}
