// SPDX-License-Identifier: GPL-3.0-or-later
// Finding web and mail addresses in text, for the control's automatic links.
#pragma once

#include <QStringView>

#include <vector>

namespace platform {

struct UrlRange {
    int start = 0;   // in the text given, plus the base
    int length = 0;
};

// Appends the addresses found in text: those starting with http://, https://,
// ftp://, mailto:, file: or www. at the start of a word, up to the next space,
// without trailing punctuation.
void FindUrls(QStringView text, int base, std::vector<UrlRange>& out);

// Appends a position inside each place of text that may hold an address: every
// address holds "://", "mailto:", "file:" or "www." (case ignored). One cheap
// pass, so that a long text is read block by block only where it may hold one.
void FindUrlMarks(QStringView text, int base, std::vector<int>& out);

// The target a found address opens: "www." addresses get "http://".
QString UrlTarget(QStringView url);

} // namespace platform
