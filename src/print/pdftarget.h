// SPDX-License-Identifier: GPL-3.0-or-later
// The question the PDF printer asks before a job: which file to write, offered
// under the text's own name with ".pdf" in the text's folder.
#pragma once

#include <QString>

#include <optional>

// Nothing when the user cancelled or would not replace an existing file.
std::optional<QString> AskPdfTarget(const QString& textName);
