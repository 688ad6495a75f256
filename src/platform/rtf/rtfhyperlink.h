// SPDX-License-Identifier: GPL-3.0-or-later
// The target of an RTF HYPERLINK field instruction.
#pragma once

#include <QString>

namespace platform {

// The address a HYPERLINK instruction points to ("#name" for a \l bookmark),
// or an empty string for any other field.
QString HyperlinkTarget(const QString& instruction);

} // namespace platform
