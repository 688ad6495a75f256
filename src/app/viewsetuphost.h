// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the settings dialog's host: what the dialog reads from the
// window and changes in it.
#pragma once

#include "setuphost.h"

#include <memory>

class TfmView;

std::unique_ptr<TSetupHost> MakeSetupHost(TfmView& view);
