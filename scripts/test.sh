#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test; prints ctest's summary.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
QUILLET_TEST_TOOLS=1 "$here/scripts/setup.sh"
build=${QUILLET_BUILD_DIR:-$here/build}

# The units without a GUI run once more under AddressSanitizer and
# UndefinedBehaviorSanitizer: they take every byte of every file a user opens,
# and every byte another process sends a running copy. So does the fill that
# writes a plain text's document trees by hand.
san=${QUILLET_SANITIZE_BUILD_DIR:-$here/build-sanitize}
core=(codepages_test encoding_test registry_test instances_test richedit_plainfill_test)
if [ ! -f "$san/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$san" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_SANITIZE=ON -DQUILLET_BENCH=OFF \
    -DQUILLET_WERROR=ON >/dev/null
else
  cmake -S "$here" -B "$san" -DQUILLET_WERROR=ON >/dev/null
fi
cmake --build "$san" --parallel "$(nproc)" --target "${core[@]}"
labels="^($(IFS='|'; echo "${core[*]}"))\$"
(cd "$san" && ctest --output-on-failure --parallel "$(nproc)" -L "$labels")

# Every test of the program; its summary closes the run.
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" "$@"
