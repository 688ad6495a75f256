// SPDX-License-Identifier: GPL-3.0-or-later
// How the control's character and paragraph formats live in a QTextDocument.
// The control and its RTF reader and writer both follow these rules, so that a
// document built by one is understood by the other.
#pragma once

#include <QTextFormat>

namespace platform {

// Rules:
// - What Qt holds natively is held natively and is the truth: font family, point
//   size (twips / 20), bold (weight >= 700), italic, strike-out, foreground and
//   background brushes, vertical alignment for sub/superscript, capitalization,
//   anchor + href for links, alignment, tables (QTextTable), lists (QTextList),
//   images (QTextImageFormat with the image in the document's resources).
// - What Qt has no slot for, or holds lossily, is a user property below. Where Qt
//   can draw something close, the native property mirrors the user one (underline
//   kind -> underline style; offset -> vertical alignment; all caps / small caps ->
//   capitalization), but the user property is what format queries answer.
// - An absent user property reads as the record's zero value.
// - Lengths in user properties are twips, as in the format records. Native
//   paragraph margins are screen pixels at 96 dpi: px = twips / 15.
// - A numbered paragraph (PropNumbering) carries PropStartIndentTwips and
//   PropOffsetTwipsPara always, and its native margins leave room for its number:
//   every line starts at the left indent, or further right when the number needs
//   the room (NumberedTextStartTwips); the number stands before the first line.
// - A list whose first number is not 1 carries PropListStart (or, when the
//   control numbered it, its first paragraph's PropNumberingStart). Qt before 6.6
//   counts every list from 1, so the control marks such a list's paragraphs to
//   have Qt draw no number and draws ListNumberText in its place.
enum TextProperty : int {
    // Character (QTextCharFormat)
    PropUnderlineType = QTextFormat::UserProperty + 1,  // int, CFU_* (0 = none)
    PropCharset,            // int, bCharSet (204 Cyrillic, 0 ANSI, ...)
    PropPitchAndFamily,     // int, bPitchAndFamily
    PropLcid,               // int, lcid
    PropAutoColor,          // bool, CFE_AUTOCOLOR: drawn in the window text colour
    PropAutoBackColor,      // bool, CFE_AUTOBACKCOLOR
    PropOffsetTwips,        // int, yOffset (positive raises)
    PropHidden,             // bool, CFE_HIDDEN
    PropProtected,          // bool, CFE_PROTECTED
    PropLink,               // bool, CFE_LINK (set by automatic URL detection or RTF fields)
    PropAllCaps,            // bool, CFE_ALLCAPS
    PropSmallCaps,          // bool, CFE_SMALLCAPS
    PropEmbeddedObject,     // QByteArray, on an object-replacement character: the RTF of an
                            // object or picture kept opaque so that writing loses nothing
    // bool, on a link that automatic URL detection made: the address is the
    // text's own, so later detection may take the link away again and RTF
    // keeps it as the plain text it is. A link without it came as a field.
    PropAutoLinkMark = QTextFormat::UserProperty + 90,
    // An embedded object (embeddedobject.h) on an object-replacement character.
    PropObjectKind = QTextFormat::UserProperty + 60,    // int, ObjectKindEmbedded or ObjectKindLinked
    PropObjectData,         // QByteArray, the file's bytes (linked: the picture last seen)
    PropObjectName,         // QString, the file's name as shown
    PropObjectSource,       // QByteArray, linked: the source's path as the file system's bytes
    PropObjectMime,         // QString, the MIME type when known
    PropObjectAsIcon,       // bool, shown as an icon with the name
    // Pictures drawn by the picture handler rather than from an image resource:
    // metafiles, and objects that brought no picture of their own.
    PropPictureKind = QTextFormat::UserProperty + 70,   // int, PictureKind
    PropPictureData,        // QByteArray, the metafile's bytes
    PropPictureCrop,        // QRectF, share of the whole picture cut off at each edge (l, t, r, b)
    PropPictureLabel,       // QString, what a placeholder names (an object's class)

    // Paragraph (QTextBlockFormat)
    PropNumbering = QTextFormat::UserProperty + 100,    // int, PFN_* (0 = none)
    PropNumberingStyle,     // int, PFNS_* value (0x000 .. 0x400)
    PropNumberingStart,     // int, wNumberingStart
    PropNumberingTab,       // int, twips
    PropStartIndentTwips,   // int, dxStartIndent
    PropOffsetTwipsPara,    // int, dxOffset (second and later lines relative to the first)
    PropRightIndentTwips,   // int, dxRightIndent
    PropLineSpacingRule,    // int, bLineSpacingRule
    PropLineSpacingTwips,   // int, dyLineSpacing
    PropSpaceBeforeTwips,   // int, dySpaceBefore
    PropSpaceAfterTwips,    // int, dySpaceAfter
    PropTableLeftTwips,     // int, on a QTextTableFormat: the rows' left edge (RTF \trleft)
    PropTableGapTwips,      // int, on a QTextTableFormat: half the space between cells (RTF \trgaph)
    // bool, on a QTextTableFormat: its rows go on the table just before it, with no
    // paragraph between: one table of the source, held as several because its rows
    // change shape or because it is long (RowsPerTableBlock). Written as one table.
    PropTableContinued,

    // List (QTextListFormat)
    PropListStart = QTextFormat::UserProperty + 200,    // int, the number of the list's first item
    PropListLevel,          // int, the list's level (0 outermost) in the RTF list it belongs to (\ilvl)
    // int, the RTF list (\ls) the list was read from: lists of one group number
    // on from each other as the levels of one list, and are written as one again.
    PropListGroup,
};

// The least room a paragraph number gets before the text: a quarter inch, as
// Word's lists hang their numbers.
constexpr int MinNumberRoomTwips = 360;

// Where the lines of a numbered paragraph start, in twips: at its left indent,
// or far enough right of where its first line would start to hold the number.
constexpr int NumberedTextStartTwips(int leftIndent, int firstIndent, int numberingTab)
{
    const int room = numberingTab > MinNumberRoomTwips ? numberingTab : MinNumberRoomTwips;
    const int afterNumber = leftIndent + firstIndent + room;
    return afterNumber > leftIndent ? afterNumber : leftIndent;
}

} // namespace platform
