// SPDX-License-Identifier: GPL-3.0-or-later
// Taking a text as characters plus format runs, and building it again with one
// insertion and a format change per run.
#include "journalplaintext.h"

#include "rtfreader.h"
#include "rtfwriter.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <stdexcept>

namespace {

// More formats than this and the text is kept as RTF: the table is read whole
// for every recovery.
constexpr int MaxFormats = 4096;

bool IsObjectOrMark(QChar c)
{
    return c == QChar::ObjectReplacementCharacter || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

// Each distinct format of the text once, in order of first use.
template <typename Format>
class TFormatIndex {
public:
    // The format is asked for only the first time its document index is seen.
    template <typename Get>
    std::uint32_t IndexOf(int documentIndex, Get&& get)
    {
        if (documentIndex == lastDocument)
            return lastIndex;
        lastDocument = documentIndex;
        const auto found = byDocument.constFind(documentIndex);
        if (found != byDocument.cend())
            return lastIndex = *found;
        lastIndex = std::uint32_t(formats.size());
        formats.push_back(get());
        byDocument.insert(documentIndex, lastIndex);
        return lastIndex;
    }
    std::vector<Format> formats;

private:
    QHash<int, std::uint32_t> byDocument;
    int lastDocument = -1;
    std::uint32_t lastIndex = 0;
};

void AddRun(std::vector<std::uint32_t>& runs, std::uint32_t length, std::uint32_t index)
{
    if (length == 0)
        return;
    if (!runs.empty() && runs.back() == index)
        runs[runs.size() - 2] += length;
    else
        runs.insert(runs.end(), {length, index});
}

// The table as RTF: one paragraph for each block format, then one for each
// character format, each holding one character. It goes through the same RTF
// reading as a whole text would, so the formats come back as they would have.
QByteArray FormatTable(const QTextDocument& doc, const std::vector<QTextBlockFormat>& blocks,
                       const std::vector<QTextCharFormat>& chars)
{
    QTextDocument table;
    table.setDefaultFont(doc.defaultFont());
    QTextCursor cursor(&table);
    bool first = true;
    const auto paragraph = [&](const QTextBlockFormat& block, const QTextCharFormat& format) {
        if (!first)
            cursor.insertBlock();
        first = false;
        cursor.setBlockFormat(block);
        cursor.insertText(QStringLiteral("x"), format);
    };
    for (const QTextBlockFormat& block : blocks)
        paragraph(block, chars.front());
    for (const QTextCharFormat& format : chars)
        paragraph(blocks.front(), format);
    return platform::WriteRtf(table, 0, table.characterCount() - 1);
}

struct TFormatTable {
    std::vector<QTextBlockFormat> blocks;
    std::vector<QTextCharFormat> chars;
};

// The table read back; nothing when its shape is not that of a table of these counts.
std::optional<TFormatTable> ReadFormatTable(const QTextDocument& doc, const QByteArray& rtf, std::uint32_t blocks,
                                            std::uint32_t chars)
{
    QTextDocument table;
    table.setDefaultFont(doc.defaultFont());
    QTextCursor cursor(&table);
    if (!platform::ReadRtf(rtf, cursor) || table.blockCount() != int(blocks + chars)
        || table.characterCount() != 2 * table.blockCount() || !table.rootFrame()->childFrames().isEmpty())
        return std::nullopt;
    TFormatTable out;
    QTextBlock block = table.begin();
    for (std::uint32_t i = 0; i < blocks; ++i, block = block.next())
        out.blocks.push_back(block.blockFormat());
    for (std::uint32_t i = 0; i < chars; ++i, block = block.next()) {
        if (block.length() != 2)
            return std::nullopt;
        out.chars.push_back(block.begin().fragment().charFormat());
    }
    return out;
}

} // namespace

bool TakePlainRuns(const QTextDocument& doc, TJournalState& state)
{
    if (!doc.rootFrame()->childFrames().isEmpty())
        return false;
    for (const QTextFormat& format : doc.allFormats())
        if (format.isListFormat() || format.isTableFormat() || format.isImageFormat())
            return false;
    QString text = doc.toRawText();
    if (std::any_of(text.cbegin(), text.cend(), IsObjectOrMark))
        return false;
    TFormatIndex<QTextBlockFormat> blockIndex;
    TFormatIndex<QTextCharFormat> charIndex;
    std::vector<std::uint32_t> blockRuns;
    std::vector<std::uint32_t> charRuns;
    const QTextBlock first = doc.begin();
    const std::uint32_t firstChar = charIndex.IndexOf(first.charFormatIndex(), [&] { return first.charFormat(); });
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        const int blockFormat = block.blockFormatIndex();
        AddRun(blockRuns, 1, blockIndex.IndexOf(blockFormat, [&] { return block.blockFormat(); }));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            AddRun(charRuns, std::uint32_t(f.length()), charIndex.IndexOf(f.charFormatIndex(), [&] { return f.charFormat(); }));
        }
        // The paragraph end carries the format of the next paragraph's empty start.
        if (const QTextBlock next = block.next(); next.isValid())
            AddRun(charRuns, 1, charIndex.IndexOf(next.charFormatIndex(), [&] { return next.charFormat(); }));
        if (blockIndex.formats.size() + charIndex.formats.size() > MaxFormats)
            return false;
    }
    for (const QTextBlockFormat& format : blockIndex.formats)
        if (format.objectIndex() != -1)
            return false;
    QByteArray table = FormatTable(doc, blockIndex.formats, charIndex.formats);
    // What the table cannot say exactly is no text for this kind.
    if (!ReadFormatTable(doc, table, std::uint32_t(blockIndex.formats.size()), std::uint32_t(charIndex.formats.size())))
        return false;
    state.plainRuns = true;
    state.plainText = std::move(text);
    state.formatTable = std::move(table);
    state.blockFormats = std::uint32_t(blockIndex.formats.size());
    state.charFormats = std::uint32_t(charIndex.formats.size());
    state.firstCharFormat = firstChar;
    state.blockRuns = std::move(blockRuns);
    state.charRuns = std::move(charRuns);
    return true;
}

void BuildPlainRuns(QTextDocument& doc, const TJournalState& state)
{
    const std::optional<TFormatTable> table = ReadFormatTable(doc, state.formatTable, state.blockFormats, state.charFormats);
    if (!table || state.blockRuns.empty() || (state.charRuns.empty() && !state.plainText.isEmpty()))
        throw std::runtime_error("The recovery journal holds formats that do not fit its text.");
    // Formats other than the first ones are set run by run after one insertion.
    const auto applyRuns = [&](const std::vector<std::uint32_t>& runs, std::uint32_t count, auto&& apply) {
        std::uint64_t at = 0;
        for (std::size_t i = 0; i + 1 < runs.size(); i += 2) {
            if (runs[i + 1] >= count || at + runs[i] > std::uint64_t(state.plainText.size()) + 1)
                throw std::runtime_error("The recovery journal holds formats that do not fit its text.");
            apply(at, runs[i], runs[i + 1]);
            at += runs[i];
        }
    };
    QTextCursor cursor(&doc);
    const std::uint32_t firstBlock = state.blockRuns[1];
    const std::uint32_t firstChar = state.charRuns.empty() ? state.firstCharFormat : state.charRuns[1];
    if (firstBlock >= state.blockFormats || firstChar >= state.charFormats || state.firstCharFormat >= state.charFormats)
        throw std::runtime_error("The recovery journal holds formats that do not fit its text.");
    cursor.setBlockFormat(table->blocks[firstBlock]);
    cursor.setBlockCharFormat(table->chars[state.firstCharFormat]);
    cursor.insertText(state.plainText, table->chars[firstChar]);
    if (doc.characterCount() - 1 != state.plainText.size())
        throw std::runtime_error("The recovery journal holds a text that does not read back.");
    std::uint64_t blocks = 0;
    applyRuns(state.blockRuns, state.blockFormats, [&](std::uint64_t, std::uint32_t length, std::uint32_t index) {
        const QTextBlock from = doc.findBlockByNumber(int(blocks));
        blocks += length;
        if (index == firstBlock || !from.isValid())
            return;
        const QTextBlock to = doc.findBlockByNumber(int(blocks) - 1);
        if (!to.isValid())
            return;
        QTextCursor range(&doc);
        range.setPosition(from.position());
        range.setPosition(to.position(), QTextCursor::KeepAnchor);
        range.setBlockFormat(table->blocks[index]);
    });
    if (blocks != std::uint64_t(doc.blockCount()))
        throw std::runtime_error("The recovery journal holds formats that do not fit its text.");
    std::uint64_t characters = 0;
    applyRuns(state.charRuns, state.charFormats, [&](std::uint64_t at, std::uint32_t length, std::uint32_t index) {
        characters = at + length;
        if (index == firstChar || characters > std::uint64_t(state.plainText.size()))
            return;
        QTextCursor range(&doc);
        range.setPosition(int(at));
        range.setPosition(int(characters), QTextCursor::KeepAnchor);
        range.setCharFormat(table->chars[index]);
    });
    if (characters != std::uint64_t(state.plainText.size()))
        throw std::runtime_error("The recovery journal holds formats that do not fit its text.");
}
