#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A build someone else starts with a standard build type never fails on a warning;
# our own builds make warnings errors, and even then a Release build of the files
# GCC 12 wrongly warned about at -O3 compiles.
# Usage: build_types_test.sh SOURCE_DIR CMAKE
set -uo pipefail
source_dir=$1
cmake=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

configure() { # DIR ARGS...
  local dir=$1; shift
  "$cmake" -S "$source_dir" -B "$dir" -G Ninja -DQUILLET_BENCH=OFF "$@" >"$dir.log" 2>&1 || fail "configuring $*: $(tail -5 "$dir.log")"
}

for type in Release RelWithDebInfo Debug MinSizeRel; do
  configure "$work/$type" -DCMAKE_BUILD_TYPE=$type
  grep -q -- "-Wall" "$work/$type/compile_commands.json" || fail "$type: the warnings are not even on"
  ! grep -q -- "-Werror" "$work/$type/compile_commands.json" || fail "$type: warnings are errors in a user's build"
done

configure "$work/ours" -DCMAKE_BUILD_TYPE=Release -DQUILLET_WERROR=ON
grep -q -- "-Werror" "$work/ours/compile_commands.json" || fail "QUILLET_WERROR=ON does not make warnings errors"
objects=(tests/encoding/CMakeFiles/encoding_test.dir/detect_test.cpp.o
         tests/encoding/CMakeFiles/encoding_test.dir/dostables_test.cpp.o)
"$cmake" --build "$work/ours" --target "${objects[@]}" >"$work/ours-build.log" 2>&1 \
  || fail "a Release build with warnings as errors fails: $(grep -m3 -E 'error|warning' "$work/ours-build.log")"

[ $failures -eq 0 ] && echo "build types: all checks passed"
exit $failures
