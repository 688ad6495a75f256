// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-edit control's format records and message constants, shaped as the
// program expects them: CHARFORMAT2, PARAFORMAT2, CHARRANGE, stream and search flags.
#pragma once

#include <cstdint>

namespace platform {

using COLORREF = std::uint32_t;   // 0x00BBGGRR
constexpr COLORREF RgbColor(int r, int g, int b) { return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16); }

struct CHARRANGE {
    std::int32_t cpMin = 0;
    std::int32_t cpMax = 0;
};

// Character format. Sizes and offsets are in twips (1/20 point).
struct CHARFORMAT2 {
    std::uint32_t cbSize = 116;
    std::uint32_t dwMask = 0;
    std::uint32_t dwEffects = 0;
    std::int32_t yHeight = 0;
    std::int32_t yOffset = 0;
    COLORREF crTextColor = 0;
    std::uint8_t bCharSet = 0;
    std::uint8_t bPitchAndFamily = 0;
    char16_t szFaceName[32] = {};
    std::uint16_t wWeight = 0;
    std::int16_t sSpacing = 0;
    COLORREF crBackColor = 0;
    std::uint32_t lcid = 0;
    std::uint32_t dwCookie = 0;
    std::int16_t sStyle = 0;
    std::uint16_t wKerning = 0;
    std::uint8_t bUnderlineType = 0;
    std::uint8_t bAnimation = 0;
    std::uint8_t bRevAuthor = 0;
    std::uint8_t bReserved1 = 0;
};

// Paragraph format. Indents and spacing in twips.
struct PARAFORMAT2 {
    std::uint32_t cbSize = 188;
    std::uint32_t dwMask = 0;
    std::uint16_t wNumbering = 0;
    std::uint16_t wEffects = 0;
    std::int32_t dxStartIndent = 0;
    std::int32_t dxRightIndent = 0;
    std::int32_t dxOffset = 0;
    std::uint16_t wAlignment = 0;
    std::int16_t cTabCount = 0;
    std::int32_t rgxTabs[32] = {};
    std::int32_t dySpaceBefore = 0;
    std::int32_t dySpaceAfter = 0;
    std::int32_t dyLineSpacing = 0;
    std::int16_t sStyle = 0;
    std::uint8_t bLineSpacingRule = 0;
    std::uint8_t bOutlineLevel = 0;
    std::uint16_t wShadingWeight = 0;
    std::uint16_t wShadingStyle = 0;
    std::uint16_t wNumberingStart = 0;
    std::uint16_t wNumberingStyle = 0;
    std::uint16_t wNumberingTab = 0;
    std::uint16_t wBorderSpace = 0;
    std::uint16_t wBorderWidth = 0;
    std::uint16_t wBorders = 0;
};

// CHARFORMAT2 dwMask
constexpr std::uint32_t CFM_BOLD = 0x00000001;
constexpr std::uint32_t CFM_ITALIC = 0x00000002;
constexpr std::uint32_t CFM_UNDERLINE = 0x00000004;
constexpr std::uint32_t CFM_STRIKEOUT = 0x00000008;
constexpr std::uint32_t CFM_PROTECTED = 0x00000010;
constexpr std::uint32_t CFM_LINK = 0x00000020;
constexpr std::uint32_t CFM_SMALLCAPS = 0x00000040;
constexpr std::uint32_t CFM_ALLCAPS = 0x00000080;
constexpr std::uint32_t CFM_HIDDEN = 0x00000100;
constexpr std::uint32_t CFM_SUBSCRIPT = 0x00030000;
constexpr std::uint32_t CFM_SUPERSCRIPT = 0x00030000;
constexpr std::uint32_t CFM_UNDERLINETYPE = 0x00800000;
constexpr std::uint32_t CFM_WEIGHT = 0x00400000;
constexpr std::uint32_t CFM_LCID = 0x02000000;
constexpr std::uint32_t CFM_BACKCOLOR = 0x04000000;
constexpr std::uint32_t CFM_CHARSET = 0x08000000;
constexpr std::uint32_t CFM_OFFSET = 0x10000000;
constexpr std::uint32_t CFM_FACE = 0x20000000;
constexpr std::uint32_t CFM_COLOR = 0x40000000;
constexpr std::uint32_t CFM_SIZE = 0x80000000;

// CHARFORMAT2 dwEffects
constexpr std::uint32_t CFE_BOLD = 0x00000001;
constexpr std::uint32_t CFE_ITALIC = 0x00000002;
constexpr std::uint32_t CFE_UNDERLINE = 0x00000004;
constexpr std::uint32_t CFE_STRIKEOUT = 0x00000008;
constexpr std::uint32_t CFE_PROTECTED = 0x00000010;
constexpr std::uint32_t CFE_LINK = 0x00000020;
constexpr std::uint32_t CFE_SMALLCAPS = 0x00000040;
constexpr std::uint32_t CFE_ALLCAPS = 0x00000080;
constexpr std::uint32_t CFE_HIDDEN = 0x00000100;
constexpr std::uint32_t CFE_SUBSCRIPT = 0x00010000;
constexpr std::uint32_t CFE_SUPERSCRIPT = 0x00020000;
constexpr std::uint32_t CFE_AUTOBACKCOLOR = 0x04000000;
constexpr std::uint32_t CFE_AUTOCOLOR = 0x40000000;

// bUnderlineType
constexpr std::uint8_t CFU_UNDERLINENONE = 0;
constexpr std::uint8_t CFU_UNDERLINE = 1;
constexpr std::uint8_t CFU_UNDERLINEWORD = 2;
constexpr std::uint8_t CFU_UNDERLINEDOUBLE = 3;
constexpr std::uint8_t CFU_UNDERLINEDOTTED = 4;
constexpr std::uint8_t CFU_UNDERLINEDASH = 5;
constexpr std::uint8_t CFU_UNDERLINEDASHDOT = 6;
constexpr std::uint8_t CFU_UNDERLINEDASHDOTDOT = 7;
constexpr std::uint8_t CFU_UNDERLINEWAVE = 8;
constexpr std::uint8_t CFU_UNDERLINETHICK = 9;   // "heavy line"

// EM_SETCHARFORMAT wParam
constexpr unsigned SCF_DEFAULT = 0x0000;
constexpr unsigned SCF_SELECTION = 0x0001;
constexpr unsigned SCF_WORD = 0x0002;
constexpr unsigned SCF_ALL = 0x0004;
constexpr unsigned SCF_USEUIRULES = 0x0008;

// PARAFORMAT2 dwMask
constexpr std::uint32_t PFM_STARTINDENT = 0x00000001;
constexpr std::uint32_t PFM_RIGHTINDENT = 0x00000002;
constexpr std::uint32_t PFM_OFFSET = 0x00000004;
constexpr std::uint32_t PFM_ALIGNMENT = 0x00000008;
constexpr std::uint32_t PFM_TABSTOPS = 0x00000010;
constexpr std::uint32_t PFM_NUMBERING = 0x00000020;
constexpr std::uint32_t PFM_OFFSETINDENT = 0x80000000;
constexpr std::uint32_t PFM_SPACEBEFORE = 0x00000040;
constexpr std::uint32_t PFM_SPACEAFTER = 0x00000080;
constexpr std::uint32_t PFM_LINESPACING = 0x00000100;
constexpr std::uint32_t PFM_NUMBERINGSTYLE = 0x00002000;
constexpr std::uint32_t PFM_NUMBERINGTAB = 0x00004000;
constexpr std::uint32_t PFM_NUMBERINGSTART = 0x00008000;
constexpr std::uint32_t PFM_TABLE = 0x40000000;

// PARAFORMAT2 wEffects
constexpr std::uint16_t PFE_TABLE = 0x4000;

// wAlignment
constexpr std::uint16_t PFA_LEFT = 1;
constexpr std::uint16_t PFA_RIGHT = 2;
constexpr std::uint16_t PFA_CENTER = 3;
constexpr std::uint16_t PFA_JUSTIFY = 4;

// wNumbering
constexpr std::uint16_t PFN_NONE = 0;
constexpr std::uint16_t PFN_BULLET = 1;
constexpr std::uint16_t PFN_ARABIC = 2;
constexpr std::uint16_t PFN_LCLETTER = 3;
constexpr std::uint16_t PFN_UCLETTER = 4;
constexpr std::uint16_t PFN_LCROMAN = 5;
constexpr std::uint16_t PFN_UCROMAN = 6;

// wNumberingStyle
constexpr std::uint16_t PFNS_PAREN = 0x0000;     // 1)
constexpr std::uint16_t PFNS_PARENS = 0x0100;    // (1)
constexpr std::uint16_t PFNS_PERIOD = 0x0200;    // 1.
constexpr std::uint16_t PFNS_PLAIN = 0x0300;     // 1
constexpr std::uint16_t PFNS_NONUMBER = 0x0400;  // continues the list without a number

// bLineSpacingRule: 0 single, 1 one and a half, 2 double, 3 at least dyLineSpacing,
// 4 exactly dyLineSpacing, 5 dyLineSpacing / 20 lines.

// Stream formats (EM_STREAMIN / EM_STREAMOUT)
constexpr unsigned SF_TEXT = 0x0001;
constexpr unsigned SF_RTF = 0x0002;
constexpr unsigned SF_UNICODE = 0x0010;
constexpr unsigned SFF_SELECTION = 0x8000;

// EM_FINDTEXTEX flags
constexpr unsigned FR_DOWN = 0x1;
constexpr unsigned FR_WHOLEWORD = 0x2;
constexpr unsigned FR_MATCHCASE = 0x4;

// EM_SELECTIONTYPE
constexpr unsigned SEL_EMPTY = 0x0;
constexpr unsigned SEL_TEXT = 0x1;
constexpr unsigned SEL_OBJECT = 0x2;
constexpr unsigned SEL_MULTICHAR = 0x4;
constexpr unsigned SEL_MULTIOBJECT = 0x8;

// Event mask (EM_SETEVENTMASK)
constexpr std::uint32_t ENM_CHANGE = 0x00000001;
constexpr std::uint32_t ENM_SELCHANGE = 0x00080000;
constexpr std::uint32_t ENM_REQUESTRESIZE = 0x00040000;
constexpr std::uint32_t ENM_PROTECTED = 0x00200000;
constexpr std::uint32_t ENM_LINK = 0x04000000;

// Undo names (EM_GETUNDONAME / EM_GETREDONAME)
constexpr int UID_UNKNOWN = 0;
constexpr int UID_TYPING = 1;
constexpr int UID_DELETE = 2;
constexpr int UID_DRAGDROP = 3;
constexpr int UID_CUT = 4;
constexpr int UID_PASTE = 5;

} // namespace platform
