#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the build, the tests and the benchmarks need (only what is missing),
# then configures and builds Quillet in ./build. Safe to run again: it is quick when
# everything is already there.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-private-dev qt6-qpa-plugins qt6-l10n-tools qt6-translations-l10n
  libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
  qt6-svg-dev libemf2svg-dev libwmf-dev libuemf-dev
  xvfb xauth poppler-utils fonts-liberation imagemagick
  uchardet enca unrtf libc-bin fortunes-ru
  xdg-utils desktop-file-utils shared-mime-info libglib2.0-bin
  appstream dpkg-dev man-db
)
# Only the test command asks for these (QUILLET_TEST_TOOLS=1): starting the editor
# never installs an office suite. LibreOffice's writer checks that it reads the RTF
# we write as it reads the original.
if [ "${QUILLET_TEST_TOOLS:-0}" = 1 ]; then
  packages+=(libreoffice-writer-nogui)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A package the local lists do not know means the lists are stale or absent.
  if ! "${sudo[@]}" apt-get install -y -q "${missing[@]}"; then
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q "${missing[@]}"
  fi
fi

build=${QUILLET_BUILD_DIR:-$here/build}
# Configure every time: source folders are picked up when configuring, and a
# folder that appeared since the last run would otherwise be missed. Our own builds
# treat warnings as errors.
if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -DQUILLET_WERROR=ON "$@" >/dev/null
else
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_WERROR=ON "$@"
fi
cmake --build "$build" --parallel "$(nproc)"
