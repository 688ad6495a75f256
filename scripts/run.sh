#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts Quillet with the files given.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh" >&2
build=${QUILLET_BUILD_DIR:-$here/build}
program="$build/src/app/quillet"
if [ ! -x "$program" ]; then
  echo "The build did not make $program; see the messages above." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Quillet is a desktop program and there is no display here." >&2
  echo "Run it under a virtual one:  xvfb-run -a $0 $*" >&2
  exit 1
fi
exec "$program" "$@"
