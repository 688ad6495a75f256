// SPDX-License-Identifier: GPL-3.0-or-later
// Display formats over the block layouts.
#include "displayformats.h"

#include "richeditconsts.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace platform {

namespace {

// A character laid out with no width and drawn with no ink: Qt 6.4 has no hidden
// property, so the run keeps its characters (and the control its positions) but
// shrinks to nothing. 1/64 % is the least letter spacing Qt keeps.
void MakeHidden(QTextCharFormat& f)
{
    f.setFontPointSize(1);
    f.setFontLetterSpacingType(QFont::PercentageSpacing);
    f.setFontLetterSpacing(1.0 / 64);
    f.setForeground(QColor(0, 0, 0, 0));
    f.setBackground(Qt::NoBrush);
    f.setUnderlineStyle(QTextCharFormat::NoUnderline);
    f.setFontStrikeOut(false);
    f.setFontOverline(false);
}

// The underline Qt draws for a kind; double and thick are drawn by the control's
// own paint pass, so Qt draws none for them.
QTextCharFormat::UnderlineStyle DrawnUnderline(int kind)
{
    switch (kind) {
    case CFU_UNDERLINEDOTTED: return QTextCharFormat::DotLine;
    case CFU_UNDERLINEDASH: return QTextCharFormat::DashUnderline;
    case CFU_UNDERLINEDASHDOT: return QTextCharFormat::DashDotLine;
    case CFU_UNDERLINEDASHDOTDOT: return QTextCharFormat::DashDotDotLine;
    case CFU_UNDERLINEWAVE: return QTextCharFormat::WaveUnderline;
    case CFU_UNDERLINEDOUBLE:
    case CFU_UNDERLINETHICK:
    case CFU_UNDERLINENONE: return QTextCharFormat::NoUnderline;
    default: return QTextCharFormat::SingleUnderline;
    }
}

bool IsLink(const QTextFormat& f)
{
    return f.boolProperty(PropLink);
}

int UnderlineKind(const QTextFormat& f)
{
    return f.intProperty(PropUnderlineType);
}

bool SameRanges(const QList<QTextLayout::FormatRange>& a, const QList<QTextLayout::FormatRange>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].start != b[i].start || a[i].length != b[i].length || a[i].format != b[i].format)
            return false;
    return true;
}

// Appends the display formats of one fragment (text at start, relative to the block).
void AddFragment(QList<QTextLayout::FormatRange>& out, const QTextCharFormat& own, QStringView text, int start,
                 const QColor& link)
{
    QTextCharFormat shown;
    const int kind = UnderlineKind(own);
    if (own.hasProperty(PropUnderlineType))
        shown.setUnderlineStyle(DrawnUnderline(kind));
    if (IsLink(own)) {
        shown.setForeground(link);
        if (kind == CFU_UNDERLINENONE || kind == CFU_UNDERLINE)
            shown.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    }
    if (own.boolProperty(PropHidden)) {
        MakeHidden(shown);
        out.append({start, int(text.size()), shown});
        return;
    }
    if (kind != CFU_UNDERLINEWORD) {
        out.append({start, int(text.size()), shown});
        return;
    }
    // Word underline: the words are underlined, the blanks between them are not.
    QTextCharFormat blank = shown;
    blank.setUnderlineStyle(QTextCharFormat::NoUnderline);
    qsizetype runStart = 0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        if (i < text.size() && text[i].isSpace() == text[runStart].isSpace())
            continue;
        out.append({start + int(runStart), int(i - runStart), text[runStart].isSpace() ? blank : shown});
        runStart = i;
    }
}

} // namespace

bool DisplayFormats::RefreshNeeds(const QTextDocument& document)
{
    if (doc != &document) {
        doc = &document;
        needs.clear();
        anyNeeds = false;
        styled = false;
    }
    // Formats are only ever added to a document, so their indexes stay valid.
    const QList<QTextFormat> formats = document.allFormats();
    if (formats.size() < qsizetype(needs.size())) {
        needs.clear();
        anyNeeds = false;
    }
    for (qsizetype i = qsizetype(needs.size()); i < formats.size(); ++i) {
        const QTextFormat& f = formats[i];
        std::uint8_t need = Nothing;
        if (f.isCharFormat()) {
            if (IsLink(f))
                need |= Link;
            if (f.boolProperty(PropHidden))
                need |= Hidden;
            if (f.hasProperty(PropUnderlineType) && UnderlineKind(f) != CFU_UNDERLINE)
                need |= Underline;
        }
        needs.push_back(need);
        anyNeeds = anyNeeds || need != Nothing;
    }
    return anyNeeds;
}

void DisplayFormats::Restyle(QTextDocument& document, int from, int to, const QColor& link, bool relayout)
{
    const bool any = RefreshNeeds(document);
    RestyleRange(document, from, to, link, relayout, any, styled);
}

void DisplayFormats::RestyleRange(QTextDocument& document, int from, int to, const QColor& link, bool relayout,
                                  bool any, bool wasStyled)
{
    if (!any && !wasStyled)
        return;
    const QTextBlock last = document.findBlock(std::max(from, to));
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        RestyleBlock(document, block, any, wasStyled, link, relayout);
        if (block == last)
            break;
    }
}

void DisplayFormats::RestyleBlock(QTextDocument& document, const QTextBlock& block, bool any, bool wasStyled,
                                  const QColor& link, bool relayout)
{
    QList<QTextLayout::FormatRange> ranges;
    if (any) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int index = fragment.charFormatIndex();
            if (index < 0 || std::size_t(index) >= needs.size() || needs[std::size_t(index)] == Nothing)
                continue;
            AddFragment(ranges, fragment.charFormat(), fragment.text(), fragment.position() - block.position(), link);
        }
    }
    // While no block has display formats there is nothing to take off; asking
    // for the layout would make one, and a block keeps it as long as it lives.
    if (ranges.isEmpty() && !wasStyled)
        return;
    QTextLayout* layout = block.layout();
    if (!SameRanges(ranges, layout->formats())) {
        layout->setFormats(ranges);
        styled = styled || !ranges.isEmpty();
        if (relayout)
            document.markContentsDirty(block.position(), block.length());
    }
}

bool DisplayFormats::Styles(const QTextBlock& block) const
{
    if (doc != block.document())
        return true;
    if (!anyNeeds)
        return false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const int index = it.fragment().charFormatIndex();
        if (index < 0 || std::size_t(index) >= needs.size() || needs[std::size_t(index)] != Nothing)
            return true;
    }
    return false;
}

void DisplayFormats::RestyleAll(QTextDocument& document, const QColor& link, bool relayout)
{
    // A document may take the place of a deleted one at the same address: its
    // blocks may then hold display formats only if they did before.
    const bool mayBeStyled = styled && doc == &document;
    doc = nullptr;
    const bool any = RefreshNeeds(document);
    RestyleRange(document, 0, document.characterCount() - 1, link, relayout, any, mayBeStyled);
}

void DisplayFormats::RestyleFresh(QTextDocument& document, const std::vector<int>& positions, const QColor& link)
{
    doc = nullptr;
    const bool any = RefreshNeeds(document);
    if (!any)
        return;
    for (const int position : positions)
        RestyleBlock(document, document.findBlock(position), any, false, link, false);
}

} // namespace platform
