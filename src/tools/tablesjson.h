// SPDX-License-Identifier: GPL-3.0-or-later
// The parsed DOS tables as JSON, cell texts in UTF-8.
#pragma once

#include "dostables.h"

#include <string>

// {"tables":[{"start":S,"end":E,"rows":[[{"sep":P,"text":"..."},...],...]},...]}
// with one row per line, so that large results stay readable and diffable.
std::string TablesToJson(const tables& ts);
