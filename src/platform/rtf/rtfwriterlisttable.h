// SPDX-License-Identifier: GPL-3.0-or-later
// The Word list table the writer puts in the header: every list of the written
// range as a \list with its levels, and a \listoverride naming it, so that
// readers which know lists (Word, LibreOffice) see lists and not bare paragraphs.
#pragma once

#include "rtfwriterlists.h"

#include <QByteArray>

#include <array>
#include <map>
#include <vector>

class QTextBlock;
class QTextList;

namespace platform {

class RtfWriterListTable {
public:
    // Registers a paragraph; call for every paragraph written, in document order.
    void Collect(const QTextBlock& block);
    // {\*\listtable...}{\*\listoverridetable...}, empty when no paragraph is numbered.
    QByteArray Header() const;
    // \lsN\ilvlN of a registered paragraph; empty for one that shows no number.
    QByteArray ParagraphWords(const QTextBlock& block) const;
    // The number a registered paragraph of a Qt list shows ("3.", "b)"), else empty.
    QString NumberTextOf(const QTextBlock& block) const;

private:
    struct Level {
        bool used = false;
        RtfWrittenNumbering numbering;
        int leftTwips = 0;
        int firstTwips = 0;
    };
    struct List {
        std::array<Level, 9> levels;
        std::map<int, int> next;   // level -> the number its next item gets when it goes on
    };
    struct Place {
        int list = 0;   // index in lists_; its \ls is one more
        int level = 0;
    };

    int NewList();
    static bool SameKind(const RtfWrittenNumbering& a, const RtfWrittenNumbering& b);
    static QByteArray LevelWords(const Level& level, int index);

    std::vector<List> lists_;
    std::map<const QTextList*, Place> placeOfList_;
    std::map<int, Place> placeOfBlock_;         // block number -> place, for every numbered paragraph
    std::map<int, int> groups_;                  // PropListGroup -> list index
    std::map<const QTextList*, int> itemsSeen_;  // Qt list -> items registered so far
    std::map<int, int> itemOfBlock_;             // block number -> its item number in its Qt list
    // Numbered paragraphs outside a Qt list: a run of them is one list.
    int lastLooseBlock_ = -2;
    Place lastLoose_;
    RtfWrittenNumbering lastLooseNumbering_;
    int lastLooseNumber_ = 0;
};

} // namespace platform
