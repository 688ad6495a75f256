// SPDX-License-Identifier: GPL-3.0-or-later
// Offering the texts of windows that ended without saving (killed, crashed, cut
// off) to recover, discard or leave for later.
#pragma once

#include <QString>

class TfmView;

// Lists the journals no running copy holds (with onlyFile, only those of that
// file) to recover, discard or leave for later. A recovered text is shown in the
// window, modified; the rest are then offered by a copy of their own.
void OfferRecovery(TfmView& view, const QString& onlyFile = {});
