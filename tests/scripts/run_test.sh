#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/run.sh starts the window with the files given, says so when it cannot, and
# never starts the converter in its place; the README names the converter's commands
# exactly as the converter lists them.
# Usage: run_test.sh SOURCE_DIR QUILLET_CONV
set -uo pipefail
source_dir=$1
conv=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# A copy of the tree: the real run.sh, a set-up that does nothing, programs that
# only say who they are.
mkdir -p "$work/tree/scripts" "$work/tree/build/src/app" "$work/tree/build/src/tools"
cp "$source_dir/scripts/run.sh" "$work/tree/scripts/run.sh"
printf '#!/usr/bin/env bash\nexit 0\n' > "$work/tree/scripts/setup.sh"
printf '#!/usr/bin/env bash\necho "converter $*"\n' > "$work/tree/build/src/tools/quillet-conv"
chmod +x "$work/tree/scripts/"*.sh "$work/tree/build/src/tools/quillet-conv"
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QUILLET_BUILD_DIR "$@" "$work/tree/scripts/run.sh" file.txt 2>"$work/err"; }

# No window built: an error, not the converter.
out=$(run QT_QPA_PLATFORM=offscreen); status=$?
[ $status -ne 0 ] || fail "run.sh succeeded without the window (printed: $out)"
[[ $out != *converter* ]] || fail "run.sh started the converter: $out"
grep -q "did not make" "$work/err" || fail "no message about the missing window: $(cat "$work/err")"

# The window built: started with the files.
printf '#!/usr/bin/env bash\necho "window $*"\n' > "$work/tree/build/src/app/quillet"
chmod +x "$work/tree/build/src/app/quillet"
out=$(run QT_QPA_PLATFORM=offscreen); status=$?
[ $status -eq 0 ] && [ "$out" = "window file.txt" ] || fail "run.sh did not start the window: $status '$out'"

# No display at all: a hint, nothing started.
out=$(run); status=$?
[ $status -ne 0 ] && [ -z "$out" ] || fail "run.sh without a display: $status '$out'"
grep -q "xvfb-run" "$work/err" || fail "no hint about a virtual display: $(cat "$work/err")"

# The README's converter commands are the converter's own.
listed=$(QT_QPA_PLATFORM=offscreen "$conv" --help | sed -n 's/^  \([a-z]\+\) .*/\1/p' | sort | tr '\n' ' ')
documented=$(sed -n 's/^    quillet-conv \([a-z]\+\) .*/\1/p' "$source_dir/README.md" | sort -u | tr '\n' ' ')
[ -n "$listed" ] && [ "$listed" = "$documented" ] || fail "README lists '$documented', the converter '$listed'"
! grep -qi "until the main window lands" "$source_dir/README.md" || fail "README still describes the converter as the program"

[ $failures -eq 0 ] && echo "scripts/run.sh and README: all checks passed"
exit $failures
