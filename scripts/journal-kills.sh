#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills real windows with kill -9 at random moments while they are edited, N times
# (200 by default), and checks each recovered text; prints the seed for a rerun.
# Usage: scripts/journal-kills.sh [BUILD_DIR] [N] [SEED]
set -eu
build=${1:-build}
QUILLET_KILLS=${2:-200}
export QUILLET_KILLS
if [ -n "${3:-}" ]; then
    QUILLET_KILL_SEED=$3
    export QUILLET_KILL_SEED
fi
# A failing round keeps its files for a look.
QUILLET_KILL_KEEP=1 exec "$build/tests/app/app_journal_kills_test" --gtest_print_time=1
