// SPDX-License-Identifier: GPL-3.0-or-later
// Character and paragraph formats of the selection and of the default text.
#include "richeditimpl.h"

#include "formatrecords.h"
#include "listmarkers.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextList>
#include <QTextTable>

#include <map>
#include <set>

namespace platform {

namespace {

bool InTable(const QTextDocument* doc, const QTextBlock& block)
{
    if (doc->rootFrame()->childFrames().isEmpty())
        return false;
    return QTextCursor(block).currentTable() != nullptr;
}

// Calls visit for each block that [from, to] touches (at least the block of from).
template <class Visit>
void ForBlocks(const QTextDocument* doc, int from, int to, Visit visit)
{
    for (QTextBlock block = doc->findBlock(from); block.isValid(); block = block.next()) {
        visit(block);
        if (block.position() + block.length() > to)
            break;
    }
}

} // namespace

QTextCharFormat RichEdit::Impl::DefaultCharFormat() const
{
    QTextCharFormat format;
    format.setFont(doc->defaultFont());
    format.merge(defaultFormat);
    return format;
}

QTextCharFormat RichEdit::Impl::OverDefault(const QTextCharFormat& own) const
{
    QTextCharFormat format = DefaultCharFormat();
    // A colour of the run's own is not automatic, whatever the default says.
    if (own.hasProperty(QTextFormat::ForegroundBrush) && !own.hasProperty(PropAutoColor))
        format.clearProperty(PropAutoColor);
    if (own.hasProperty(QTextFormat::BackgroundBrush) && !own.hasProperty(PropAutoBackColor))
        format.clearProperty(PropAutoBackColor);
    format.merge(own);
    return format;
}

CHARFORMAT2 RichEdit::GetCharFormat(unsigned scf) const
{
    if (!(scf & (SCF_SELECTION | SCF_WORD | SCF_ALL)))
        return CharFormatToRecord(d->DefaultCharFormat());
    const QTextCursor cursor = textCursor();
    const int from = (scf & SCF_ALL) ? 0 : cursor.selectionStart();
    const int to = (scf & SCF_ALL) ? d->TextLength() : cursor.selectionEnd();
    if (from == to) {
        return CharFormatToRecord(d->OverDefault(cursor.charFormat()));
    }
    // Each distinct format once: a selection of a whole long text usually has few.
    std::set<int> indexes;
    ForBlocks(d->doc, from, to - 1, [&](const QTextBlock& block) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() < to && fragment.position() + fragment.length() > from)
                indexes.insert(fragment.charFormatIndex());
        }
    });
    if (indexes.empty())
        return CharFormatToRecord(d->CharFormatAt(from));
    const QList<QTextFormat> formats = d->doc->allFormats();
    CHARFORMAT2 first;
    std::uint32_t varying = 0;
    bool haveFirst = false;
    for (int index : indexes) {
        const CHARFORMAT2 record = CharFormatToRecord(d->OverDefault(formats.value(index).toCharFormat()));
        if (!haveFirst) {
            first = record;
            haveFirst = true;
        } else {
            varying |= CharRecordDifferences(first, record);
        }
    }
    first.dwMask &= ~varying;
    return first;
}

bool RichEdit::SetCharFormat(unsigned scf, const CHARFORMAT2& format)
{
    const QTextCharFormat modifier = RecordToCharFormat(format);
    if (!(scf & (SCF_SELECTION | SCF_WORD | SCF_ALL))) {
        QTextCharFormat merged = d->DefaultCharFormat();
        merged.merge(modifier);
        d->defaultFormat = merged;
        setFont(merged.font());
        // Every new default font lays the whole text out anew, even an equal one:
        // a text's font set part by part, as a load does, would cost that each time.
        if (d->doc->defaultFont() != merged.font())
            d->doc->setDefaultFont(merged.font());
        QPalette pal = palette();
        const bool automatic = merged.boolProperty(PropAutoColor) || merged.foreground().style() == Qt::NoBrush;
        pal.setColor(QPalette::Text, automatic ? QPalette().color(QPalette::Text) : merged.foreground().color());
        setPalette(pal);
        return true;
    }
    NotifyScope scope(*d, UID_UNKNOWN);
    QTextCursor cursor = textCursor();
    if (scf & SCF_ALL)
        cursor = d->Cursor(0, d->TextLength());
    else if (!cursor.hasSelection() && (scf & SCF_WORD))
        cursor.select(QTextCursor::WordUnderCursor);
    if (!cursor.hasSelection()) {
        // Nothing to format: the format is for what is typed next.
        mergeCurrentCharFormat(modifier);
        return true;
    }
    if (!d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return false;
    cursor.beginEditBlock();
    cursor.mergeCharFormat(modifier);
    d->EndStep(cursor);
    return true;
}

PARAFORMAT2 RichEdit::GetParaFormat() const
{
    const QTextCursor cursor = textCursor();
    std::map<std::tuple<int, const QTextList*, bool>, PARAFORMAT2> seen;
    ForBlocks(d->doc, cursor.selectionStart(), cursor.selectionEnd(), [&](const QTextBlock& block) {
        const auto key = std::make_tuple(block.blockFormatIndex(), static_cast<const QTextList*>(block.textList()),
                                         InTable(d->doc, block));
        if (!seen.count(key))
            seen.emplace(key, BlockFormatToRecord(block.blockFormat(), block.textList(), std::get<2>(key)));
    });
    PARAFORMAT2 first = seen.begin()->second;
    std::uint32_t varying = 0;
    for (const auto& entry : seen)
        varying |= ParaRecordDifferences(first, entry.second);
    first.dwMask &= ~varying;
    return first;
}

bool RichEdit::SetParaFormat(const PARAFORMAT2& format)
{
    const QTextCursor selection = textCursor();
    std::vector<QTextBlock> blocks;
    ForBlocks(d->doc, selection.selectionStart(), selection.selectionEnd(),
              [&](const QTextBlock& block) { blocks.push_back(block); });
    // A paragraph format belongs to every character of the paragraph.
    const int from = blocks.front().position();
    const int to = blocks.back().position() + blocks.back().length() - 1;
    if (!d->AllowEdit(from, std::max(from + 1, to)))
        return false;
    NotifyScope scope(*d, UID_UNKNOWN);
    QTextCursor edit(d->doc);
    edit.beginEditBlock();
    QTextList* created = nullptr;
    for (const QTextBlock& block : blocks) {
        QTextCursor at(block);
        const QTextBlockFormat updated = RecordToBlockFormat(format, block.blockFormat());
        at.setBlockFormat(updated);
        if (!(format.dwMask & (PFM_NUMBERING | PFM_NUMBERINGSTYLE)))
            continue;
        const int numbering = updated.intProperty(PropNumbering);
        QTextList* list = block.textList();
        if (numbering == PFN_NONE) {
            if (list) {
                list->remove(block);
                QTextBlockFormat plain = at.blockFormat();
                plain.setIndent(0);
                plain.clearProperty(QTextFormat::ObjectIndex);
                at.setBlockFormat(plain);
            }
            continue;
        }
        const QTextListFormat style = ListFormatFor(numbering, updated.intProperty(PropNumberingStyle));
        if (list) {
            list->setFormat(style);
        } else if (format.dwMask & PFM_NUMBERING) {
            if (created)
                created->add(block);
            else
                created = at.createList(style);
        }
    }
    SyncListMarkers(*d->doc, from, to);
    d->EndStep(edit);
    return true;
}

} // namespace platform
