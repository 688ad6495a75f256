// SPDX-License-Identifier: GPL-3.0-or-later
// The Word list table of the written range. A list's items carry \lsN\ilvlN, and
// a reader numbers them by the list's levels, going on counting across other
// paragraphs and across deeper items, restarting a level after a shallower item.
// Items of one list as read (the same \ls) stay one list; wherever that counting
// would show another number than the editor shows, the items from there on get a
// list of their own that starts at the shown number.
#include "rtfwriterlisttable.h"

#include "listnumbers.h"
#include "richeditconsts.h"
#include "rtfwriterformats.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextList>

#include <algorithm>

namespace platform {

namespace {

constexpr int MaxLevel = 8;
// Word's default hanging of list levels: each a half inch further in.
constexpr int LevelStepTwips = 720;
constexpr int HangTwips = 360;

int LevelOf(const QTextList& list)
{
    const QTextListFormat f = list.format();
    const int level = f.hasProperty(PropListLevel) ? f.intProperty(PropListLevel) : f.indent() - 1;
    return std::clamp(level, 0, MaxLevel);
}

bool ShowsNumber(const QTextBlock& block, int item, const RtfWrittenNumbering& n)
{
    return n.numbering != PFN_NONE && (n.style & 0xff00) != PFNS_NONUMBER
        && (n.numbering == PFN_BULLET || !block.textList() || !ListNumberText(block, item).isEmpty());
}

void Hex(QByteArray& out, int byte)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[(byte >> 4) & 15];
    out += digits[byte & 15];
}

} // namespace

bool RtfWriterListTable::SameKind(const RtfWrittenNumbering& a, const RtfWrittenNumbering& b)
{
    if (a.numbering != b.numbering)
        return false;
    return a.numbering == PFN_BULLET || (a.style & 0xff00) == (b.style & 0xff00);
}

int RtfWriterListTable::NewList()
{
    lists_.emplace_back();
    return int(lists_.size()) - 1;
}

void RtfWriterListTable::Collect(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    const int number = block.blockNumber();
    int item = 0;
    if (list) {
        // Counted as the items come; only a range's first item asks its list.
        auto seen = itemsSeen_.find(list);
        if (seen == itemsSeen_.end())
            seen = itemsSeen_.emplace(list, list->itemNumber(block)).first;
        item = seen->second++;
        itemOfBlock_[number] = item;
    }
    const RtfWrittenNumbering n = NumberingOf(block);
    if (!ShowsNumber(block, item, n))
        return;
    Place place;
    int looseNumber = 0;
    if (list) {
        auto known = placeOfList_.find(list);
        if (known != placeOfList_.end()) {
            place = known->second;
        } else {
            place.level = LevelOf(*list);
            const int group = list->format().intProperty(PropListGroup);
            auto g = group > 0 ? groups_.find(group) : groups_.end();
            if (g != groups_.end()) {
                place.list = g->second;
            } else {
                place.list = NewList();
                if (group > 0)
                    groups_[group] = place.list;
            }
        }
    } else {
        const bool goesOn = lastLooseBlock_ == number - 1 && SameKind(lastLooseNumbering_, n)
                         && lastLooseNumbering_.start == n.start;
        place = goesOn ? lastLoose_ : Place{NewList(), 0};
        looseNumber = goesOn ? lastLooseNumber_ + 1 : std::max(n.start, 1);
        lastLooseBlock_ = number;
        lastLooseNumbering_ = n;
        lastLooseNumber_ = looseNumber;
    }
    const bool numbered = n.numbering != PFN_BULLET;
    const int shown = !numbered ? 1 : list ? ListStartNumber(*list) + item : looseNumber;

    const auto define = [&](Level& level, int index) {
        level.used = true;
        level.numbering = n;
        level.numbering.start = shown;
        // The same indents as the paragraph's own words, or readers that take
        // the list's would place the number elsewhere.
        if (!WrittenIndents(block.blockFormat(), level.leftTwips, level.firstTwips)) {
            level.leftTwips = LevelStepTwips * (index + 1);
            level.firstTwips = -HangTwips;
        }
    };
    List* l = &lists_[size_t(place.list)];
    Level* level = &l->levels[size_t(place.level)];
    bool fresh = false;
    if (!level->used) {
        define(*level, place.level);
    } else {
        const auto next = l->next.find(place.level);
        const int expected = next != l->next.end() ? next->second : level->numbering.start;
        fresh = !SameKind(level->numbering, n) || (numbered && shown != expected);
    }
    if (fresh) {
        place.list = NewList();
        l = &lists_[size_t(place.list)];
        level = &l->levels[size_t(place.level)];
        define(*level, place.level);
    }
    if (list)
        placeOfList_[list] = place;
    else
        lastLoose_ = place;
    placeOfBlock_[number] = place;
    l->next[place.level] = shown + 1;
    l->next.erase(l->next.upper_bound(place.level), l->next.end());
}

QByteArray RtfWriterListTable::ParagraphWords(const QTextBlock& block) const
{
    const auto it = placeOfBlock_.find(block.blockNumber());
    if (it == placeOfBlock_.end())
        return {};
    return "\\ls" + QByteArray::number(it->second.list + 1) + "\\ilvl" + QByteArray::number(it->second.level) + ' ';
}

QString RtfWriterListTable::NumberTextOf(const QTextBlock& block) const
{
    const auto it = itemOfBlock_.find(block.blockNumber());
    return it == itemOfBlock_.end() ? QString() : ListNumberText(block, it->second);
}

QByteArray RtfWriterListTable::LevelWords(const Level& level, int index)
{
    RtfWrittenNumbering n = level.numbering;
    if (!level.used)
        n.numbering = PFN_ARABIC, n.style = PFNS_PERIOD, n.start = 1;
    int nfc = 0;
    switch (n.numbering) {
    case PFN_BULLET: nfc = 23; break;
    case PFN_UCROMAN: nfc = 1; break;
    case PFN_LCROMAN: nfc = 2; break;
    case PFN_UCLETTER: nfc = 3; break;
    case PFN_LCLETTER: nfc = 4; break;
    default: nfc = 0; break;
    }
    QByteArray out = "{\\listlevel\\levelnfc" + QByteArray::number(nfc) + "\\levelnfcn" + QByteArray::number(nfc)
                   + "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat" + QByteArray::number(std::max(n.start, 1))
                   + "\\levelspace0\\levelindent0{\\leveltext";
    if (n.numbering == PFN_BULLET) {
        out += "\\'01\\u8226 ?;}{\\levelnumbers;}";
    } else {
        QByteArray before;
        QByteArray after;
        switch (n.style & 0xff00) {
        case PFNS_PARENS: before = "("; after = ")"; break;
        case PFNS_PERIOD: after = "."; break;
        case PFNS_PLAIN: break;
        default: after = ")"; break;
        }
        // The length, then the text with the level's number as the byte of its index.
        Hex(out, int(before.size() + 1 + after.size()));
        out += before;
        Hex(out, index);
        out += after;
        out += ";}{\\levelnumbers";
        Hex(out, int(before.size()) + 1);
        out += ";}";
    }
    const int left = level.used ? level.leftTwips : LevelStepTwips * (index + 1);
    const int first = level.used ? level.firstTwips : -HangTwips;
    out += "\\fi" + QByteArray::number(first) + "\\li" + QByteArray::number(left) + "\\jclisttab\\tx"
         + QByteArray::number(left) + '}';
    return out;
}

QByteArray RtfWriterListTable::Header() const
{
    if (lists_.empty())
        return {};
    QByteArray out = "{\\*\\listtable";
    for (size_t i = 0; i < lists_.size(); ++i) {
        const QByteArray id = QByteArray::number(qulonglong(i + 1));
        out += "\r\n{\\list\\listtemplateid" + id + "\\listhybrid";
        // Levels no item uses are of the kind of the first one used: readers that
        // show a deeper item inside its outer levels show those as the list is.
        const auto used = std::find_if(lists_[i].levels.begin(), lists_[i].levels.end(),
                                       [](const Level& level) { return level.used; });
        for (size_t k = 0; k < lists_[i].levels.size(); ++k) {
            Level level = lists_[i].levels[k];
            if (!level.used && used != lists_[i].levels.end()) {
                level.numbering = used->numbering;
                level.numbering.start = 1;
                level.leftTwips = LevelStepTwips * int(k + 1);
                level.firstTwips = -HangTwips;
                level.used = true;
            }
            out += LevelWords(level, int(k));
        }
        out += "{\\listname ;}\\listid" + id + '}';
    }
    out += "}\r\n{\\*\\listoverridetable";
    for (size_t i = 0; i < lists_.size(); ++i) {
        const QByteArray id = QByteArray::number(qulonglong(i + 1));
        out += "{\\listoverride\\listid" + id + "\\listoverridecount0\\ls" + id + '}';
    }
    out += "}\r\n";
    return out;
}

} // namespace platform
