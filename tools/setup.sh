#!/bin/bash
# Installs what it takes to build and test Morvel on Debian 12, as root.
# Safe to run again: when every package is already there it touches nothing
# but the deb-src check, and it is done in a fraction of a second.
set -euo pipefail

# The compilers (MinGW-w64's win32 thread model, see docs/DESIGN.md) and
# build tools, GoogleTest (its sources are built for the cross compilers,
# the packaged libraries are used natively), Wine with the
# X libraries and fonts it draws with, Xvfb for windows without a screen,
# xwd/xwininfo/convert for screenshots, libjpeg-dev for the native build,
# dpkg-dev for unpacking Debian source packages (libjpeg-turbo, built for
# Windows without SIMD, so no nasm), fp-utils for chmcmd, which compiles the
# help file, and python3 with convert and the Liberation fonts for drawing
# the icons and the about box's pictures, Pillow (python3-pil) and icotool
# (icoutils) for the icons' palettes and files. nsis (makensis) makes the
# installers (tools/package.sh); clang-14 with its runtime libraries
# (libFuzzer, the sanitizers) builds the fuzz targets.
PACKAGES=(
  cmake make g++ git ca-certificates python3 clang-format clang-14 libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  libjpeg-dev dpkg-dev fp-utils
  wine wine64 fonts-wine fonts-liberation
  libxrender1 libxrandr2 libxcursor1 libxi6 libxcomposite1 libxfixes3 libxinerama1
  xvfb x11-apps x11-utils xauth imagemagick python3-pil icoutils
  coreutils procps
  nsis
)

log() { printf 'setup: %s\n' "$*"; }

missing_packages() {
  # One dpkg-query for the whole list; a package it does not know is missing.
  local installed
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${PACKAGES[@]}" 2>/dev/null \
              | awk '$2 == "installed" { print $1 }' || true)
  local p
  for p in "${PACKAGES[@]}"; do
    grep -qxF "$p" <<<"$installed" || printf '%s\n' "$p"
  done
}

has_deb_src() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    if grep -Eq '^[[:space:]]*deb-src[[:space:]]' "$f" \
       || grep -Eiq '^[[:space:]]*Types:.*[[:space:]]deb-src([[:space:]]|$)' "$f"; then
      return 0
    fi
  done
  return 1
}

# Debian source packages (libjpeg-turbo for the Windows build) need a deb-src
# entry. It is copied from the machine's own Debian source, so whichever
# mirror the machine uses is the one asked.
SRC_FILE_DEB822=/etc/apt/sources.list.d/morvel-deb-src.sources
SRC_FILE_LIST=/etc/apt/sources.list.d/morvel-deb-src.list

add_deb_src() {
  local from=/etc/apt/sources.list.d/debian.sources
  if [ -f "$from" ]; then
    # Every stanza whose types include "deb" is repeated as "deb-src";
    # comments are dropped, the other fields are kept as they are.
    awk '
      function flush() { if (n && isdeb) { printf "%s", out; print "" } ; n = 0; isdeb = 0; out = "" }
      /^[[:space:]]*#/ { next }
      /^[[:space:]]*$/ { flush(); next }
      /^[Tt]ypes:/ {
        for (i = 2; i <= NF; i++) if ($i == "deb") isdeb = 1
        out = out "Types: deb-src\n"; n++; next
      }
      { out = out $0 "\n"; n++ }
      END { flush() }
    ' "$from" >"$SRC_FILE_DEB822.tmp"
    if [ -s "$SRC_FILE_DEB822.tmp" ]; then
      mv "$SRC_FILE_DEB822.tmp" "$SRC_FILE_DEB822"
      log "added $SRC_FILE_DEB822 (from $from)"
      return 0
    fi
    rm -f "$SRC_FILE_DEB822.tmp"
  fi
  from=/etc/apt/sources.list
  if [ -f "$from" ] && grep -Eq '^[[:space:]]*deb[[:space:]]' "$from"; then
    sed -nE 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$from" >"$SRC_FILE_LIST"
    log "added $SRC_FILE_LIST (from $from)"
    return 0
  fi
  log "no Debian apt source found to derive a deb-src entry from"
  return 1
}

main() {
  local need_update=0 missing
  if [ "$(id -u)" != 0 ]; then
    missing=$(missing_packages)
    if [ -z "$missing" ]; then
      log "not root, but every package is installed; nothing to do"
      return 0
    fi
    log "must run as root to install: ${missing//$'\n'/ }"
    return 1
  fi

  if ! has_deb_src; then
    add_deb_src && need_update=1
  fi

  missing=$(missing_packages)
  if [ -z "$missing" ]; then
    if [ "$need_update" = 1 ]; then
      apt-get update -qq
    fi
    log "all packages present"
    return 0
  fi

  log "installing: ${missing//$'\n'/ }"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
  missing=$(missing_packages)
  if [ -n "$missing" ]; then
    log "still missing after install: ${missing//$'\n'/ }"
    return 1
  fi
  log "done"
}

main "$@"
