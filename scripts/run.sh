#!/usr/bin/env bash
# Sets up, builds and starts Quillet with the files given.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh" >&2
build=${QUILLET_BUILD_DIR:-$here/build}
if [ -x "$build/src/app/quillet" ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Quillet is a desktop program and there is no display here." >&2
    echo "Run it under a virtual one:  xvfb-run -a $0 $*" >&2
    exit 1
  fi
  exec "$build/src/app/quillet" "$@"
fi
# Until the main window lands, the program is its headless converter.
if [ $# -eq 0 ]; then set -- --help; fi
exec "$build/src/tools/quillet-conv" "$@"
