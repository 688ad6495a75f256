// SPDX-License-Identifier: GPL-3.0-or-later
// Offering the texts of windows that ended without saving (killed, crashed, cut
// off) to recover, discard or leave for later.
#pragma once

#include <QString>

class TfmView;

// Asks about each journal no running copy holds; with onlyFile, only about the
// journals of that file. A recovered text is shown in the window, modified.
void OfferRecovery(TfmView& view, const QString& onlyFile = {});
