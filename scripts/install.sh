#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up and builds Quillet, makes its Debian package (CPack) and installs it with
# apt, which brings in the libraries it needs: Quillet is then in the desktop's menu.
# `apt remove quillet` takes it away again.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh" >&2
build=${QUILLET_BUILD_DIR:-$here/build}
# cpack names the package it made; an older one beside it is not taken by mistake.
made=$(cd "$build" && cpack -G DEB | sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p')
if [ -z "$made" ] || [ ! -f "$made" ]; then
  echo "The package was not made; see the messages above." >&2
  exit 1
fi
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing $made"
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "$made"
