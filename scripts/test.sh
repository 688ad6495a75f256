#!/usr/bin/env bash
# Sets up, builds and runs every test; prints ctest's summary.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
build=${QUILLET_BUILD_DIR:-$here/build}
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" "$@"
