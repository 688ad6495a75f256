// SPDX-License-Identifier: GPL-3.0-or-later
// A test's stand-in for the person at a copy started as a real process: with
// QUILLET_TEST_SCRIPT naming a file of answers, the copy's questions are answered
// from it and written to a log beside it, and the copy takes a test's typing and
// menu commands from the other copies' channel. Only on the offscreen platform,
// where no person can see the copy, and only from a file of this user's that no
// one else may write: a user's own session never answers questions unseen.
#pragma once

class TfmView;

// Installs the script when the environment names one that may be used; answers
// whether it did.
bool InstallTestScript(TfmView& view);
