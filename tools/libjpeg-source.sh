#!/bin/bash
# Unpacks Debian's libjpeg-turbo source package (with Debian's patches) into
# DEST, for the Windows builds of the JPEG decoder. Needs a deb-src entry and
# dpkg-dev, which tools/setup.sh provides. Does nothing when DEST already
# holds the sources.
#
#   libjpeg-source.sh DEST
set -euo pipefail

dest=${1:?destination folder}
if [ -f "$dest/jpeglib.h" ] && [ -f "$dest/CMakeLists.txt" ]; then
  exit 0
fi
parent=$(dirname "$dest")
mkdir -p "$parent"
work=$(mktemp -d "$parent/libjpeg-source.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
# apt-get leaves the package files in the current folder and unpacks them.
apt-get source -qq libjpeg-turbo >apt-source.log 2>&1 || {
  cat apt-source.log >&2
  echo "libjpeg-source: apt-get source libjpeg-turbo failed (run tools/setup.sh)" >&2
  exit 1
}
unpacked=$(find . -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
if [ -z "$unpacked" ] || [ ! -f "$unpacked/jpeglib.h" ]; then
  echo "libjpeg-source: no libjpeg-turbo sources were unpacked" >&2
  exit 1
fi
rm -rf "$dest"
mv "$unpacked" "$dest"
