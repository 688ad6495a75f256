// SPDX-License-Identifier: GPL-3.0-or-later
// What the control shows that Qt would not draw from the document's formats as
// they are: links in the palette's link colour, underlined; hidden text not at
// all; each underline kind as it is. The document keeps its formats: the blocks'
// layouts get display formats laid over them, as a syntax highlighter does, so
// positions, undo and what is saved stay as they were.
#pragma once

#include <QColor>

#include <cstdint>
#include <vector>

class QTextBlock;
class QTextDocument;

namespace platform {

class DisplayFormats {
public:
    // Lays the display formats over the blocks that [from, to] touches. With
    // relayout, blocks whose display formats changed are laid out again; without
    // it the caller knows that Qt lays them out anyway.
    void Restyle(QTextDocument& doc, int from, int to, const QColor& link, bool relayout);
    // The same over the whole document.
    void RestyleAll(QTextDocument& doc, const QColor& link, bool relayout);
    // The same over a document no view has shown yet, where only the blocks
    // holding these positions may use formats that need display formats.
    void RestyleFresh(QTextDocument& doc, const std::vector<int>& positions, const QColor& link);
    // Whether the block's layout gets display formats (true when in doubt).
    bool Styles(const QTextBlock& block) const;

private:
    enum Need : std::uint8_t { Nothing = 0, Link = 1, Hidden = 2, Underline = 4, Checked = 0x80 };
    // What each character format of the document needs, by format index.
    std::vector<std::uint8_t> needs;
    const QTextDocument* doc = nullptr;
    bool RefreshNeeds(const QTextDocument& document);   // false when no format needs anything
    void RestyleRange(QTextDocument& document, int from, int to, const QColor& link, bool relayout, bool any,
                      bool wasStyled);
    void RestyleBlock(QTextDocument& document, const QTextBlock& block, bool any, bool wasStyled, const QColor& link,
                      bool relayout);
    bool anyNeeds = false;
    bool styled = false;     // some block of doc has display formats
};

} // namespace platform
