// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader's control words: document header, paragraph, table and
// character properties, and the characters some words and symbols stand for.
#include "rtfreaderengine.h"

#include "richeditconsts.h"
#include "rtfreaderlimits.h"

#include <algorithm>

namespace platform {

using namespace rtflimits;

void RtfReaderEngine::Word(const RtfToken& t, RtfWord w)
{
    if (HeaderWord(t, w) || ParaWord(t, w) || TableWord(t, w))
        return;
    CharWord(t, w);
}

bool RtfReaderEngine::HeaderWord(const RtfToken& t, RtfWord w)
{
    switch (w) {
    case RtfWord::Ansi:
        return true;
    case RtfWord::Mac:
        tables_.ansiCodePage = 10000;
        return true;
    case RtfWord::Pc:
        tables_.ansiCodePage = 437;
        return true;
    case RtfWord::Pca:
        tables_.ansiCodePage = 850;
        return true;
    case RtfWord::Ansicpg:
        if (t.parameter > 0 && t.parameter < 65536)
            tables_.ansiCodePage = t.parameter;
        return true;
    case RtfWord::Deff:
        deff_ = t.parameter;
        cur_.ch.font = deff_;
        return true;
    case RtfWord::Uc:
        cur_.uc = Clamp(t.parameter, 0, MaxUnicodeSkip);
        return true;
    case RtfWord::U: {
        int v = t.parameter;
        if (v < 0 && v >= -32768)
            v += 65536;
        const QChar c = (v >= 0 && v <= 0xffff) ? QChar(char16_t(v)) : QChar(QChar::ReplacementCharacter);
        if (c.unicode() != 0)
            AppendUnits(QString(c));
        skip_ = cur_.uc;
        return true;
    }
    case RtfWord::F:
        if (cur_.dest == RtfDestination::FontTable) {
            if (fontOpen_)
                FinishFont();
            fontOpen_ = true;
            fontNumber_ = t.parameter;
            font_ = RtfFont();
            fontName_.clear();
            return true;
        }
        return false;
    case RtfWord::Fcharset:
        if (cur_.dest == RtfDestination::FontTable) {
            font_.charset = Clamp(t.parameter, 0, 255);
            if (font_.codePage == 0)
                font_.codePage = CodePageForCharset(font_.charset);
        }
        return true;
    case RtfWord::Cpg:
        if (cur_.dest == RtfDestination::FontTable && t.parameter > 0 && t.parameter < 65536)
            font_.codePage = t.parameter;
        return true;
    case RtfWord::Fnil: font_.pitchAndFamily = (font_.pitchAndFamily & 0x0f); return true;
    case RtfWord::Froman: font_.pitchAndFamily = (font_.pitchAndFamily & 0x0f) | 0x10; return true;
    case RtfWord::Fswiss: font_.pitchAndFamily = (font_.pitchAndFamily & 0x0f) | 0x20; return true;
    case RtfWord::Fmodern: font_.pitchAndFamily = (font_.pitchAndFamily & 0x0f) | 0x30; return true;
    case RtfWord::Fscript: font_.pitchAndFamily = (font_.pitchAndFamily & 0x0f) | 0x40; return true;
    case RtfWord::Fdecor: font_.pitchAndFamily = (font_.pitchAndFamily & 0x0f) | 0x50; return true;
    case RtfWord::Ftech:
    case RtfWord::Fbidi:
        return true;
    case RtfWord::Fprq:
        font_.pitchAndFamily = (font_.pitchAndFamily & 0xf0) | Clamp(t.parameter, 0, 15);
        return true;
    case RtfWord::Red:
        red_ = Clamp(t.parameter, 0, 255);
        colorGiven_ = true;
        return true;
    case RtfWord::Green:
        green_ = Clamp(t.parameter, 0, 255);
        colorGiven_ = true;
        return true;
    case RtfWord::Blue:
        blue_ = Clamp(t.parameter, 0, 255);
        colorGiven_ = true;
        return true;
    case RtfWord::Listid:
        if (cur_.dest == RtfDestination::List)
            listId_ = t.parameter;
        else if (cur_.dest == RtfDestination::ListOverride)
            overrideListId_ = t.parameter;
        return true;
    case RtfWord::Levelnfc:
    case RtfWord::Levelnfcn:
        if (cur_.dest == RtfDestination::ListLevel)
            level_.nfc = t.parameter;
        return true;
    case RtfWord::Levelstartat:
        if (cur_.dest == RtfDestination::ListLevel)
            level_.start = Clamp(t.parameter, 0, 65535);
        return true;
    case RtfWord::Leveltext:
        level_.text.clear();
        return true;
    case RtfWord::Listoverride:
        return true;
    case RtfWord::Ls:
        if (cur_.dest == RtfDestination::ListOverride)
            overrideLs_ = t.parameter;
        else
            cur_.para.listOverride = t.parameter;
        return true;
    case RtfWord::Ilvl:
        cur_.para.listLevel = Clamp(t.parameter, 0, 8);
        return true;
    case RtfWord::S:
        if (cur_.dest == RtfDestination::StyleEntry)
            styleNumber_ = t.parameter;
        else if (cur_.dest == RtfDestination::Body)
            ApplyStyle(t.parameter);
        return true;
    case RtfWord::Cs:
    case RtfWord::Ds:
    case RtfWord::Ts:
        if (cur_.dest == RtfDestination::StyleEntry)
            styleNumber_ = -1;   // character, section and table styles are not applied
        return true;
    case RtfWord::Pnlvlblt:
        pnNumbering_ = PFN_BULLET;
        return true;
    case RtfWord::Pnlvlbody:
    case RtfWord::Pnlvl:
        if (pnNumbering_ == PFN_BULLET)
            pnNumbering_ = PFN_ARABIC;
        return true;
    case RtfWord::Pnlvlcont:
        pnContinue_ = true;
        return true;
    case RtfWord::Pndec: pnNumbering_ = PFN_ARABIC; return true;
    case RtfWord::Pnlcltr: pnNumbering_ = PFN_LCLETTER; return true;
    case RtfWord::Pnucltr: pnNumbering_ = PFN_UCLETTER; return true;
    case RtfWord::Pnlcrm: pnNumbering_ = PFN_LCROMAN; return true;
    case RtfWord::Pnucrm: pnNumbering_ = PFN_UCROMAN; return true;
    case RtfWord::Pnstart:
        pnStart_ = Clamp(t.parameter, 0, 65535);
        return true;
    case RtfWord::Pnindent:
        pnTab_ = Clamp(t.parameter, 0, MaxLengthTwips);
        return true;
    case RtfWord::Pngblip:
    case RtfWord::Jpegblip:
    case RtfWord::Rtf:
        return true;
    default:
        return false;
    }
}

bool RtfReaderEngine::ParaWord(const RtfToken& t, RtfWord w)
{
    RtfParaState& p = cur_.para;
    switch (w) {
    case RtfWord::Par:
        if (InBody())
            builder_.EndParagraph(p);
        return true;
    case RtfWord::Pard:
        p = RtfParaState();
        return true;
    case RtfWord::Intbl:
        p.tableLevel = std::max(p.tableLevel, 1);
        return true;
    case RtfWord::Itap:
        p.tableLevel = Clamp(t.parameter, 0, RtfRowState::MaxNesting);
        return true;
    case RtfWord::Ql: p.alignment = 0; return true;
    case RtfWord::Qr: p.alignment = 1; return true;
    case RtfWord::Qc: p.alignment = 2; return true;
    case RtfWord::Qj:
    case RtfWord::Qd: p.alignment = 3; return true;
    case RtfWord::Fi: p.firstIndent = Length(t); return true;
    case RtfWord::Li:
    case RtfWord::Lin: p.leftIndent = Length(t); return true;
    case RtfWord::Ri:
    case RtfWord::Rin: p.rightIndent = Length(t); return true;
    case RtfWord::Sb: p.spaceBefore = Clamp(t.parameter, 0, MaxLengthTwips); return true;
    case RtfWord::Sa: p.spaceAfter = Clamp(t.parameter, 0, MaxLengthTwips); return true;
    case RtfWord::Sl: p.lineSpacing = Length(t); return true;
    case RtfWord::Slmult: p.lineMultiple = On(t) ? 1 : 0; return true;
    case RtfWord::Tx:
    case RtfWord::Tb:
        if (p.tabCount < RtfParaState::MaxTabs)
            p.tabs[size_t(p.tabCount++)] = Clamp(t.parameter, 0, MaxLengthTwips);
        return true;
    default:
        return false;
    }
}

bool RtfReaderEngine::TableWord(const RtfToken& t, RtfWord w)
{
    // A nested row's properties come in a group of their own, after its cells.
    RtfRowState& row = cur_.dest == RtfDestination::NestTableProps ? nestRow_ : row_;
    switch (w) {
    case RtfWord::Trowd:
        row = RtfRowState();
        return true;
    case RtfWord::Trhdr: row.header = On(t); return true;
    case RtfWord::Trgaph: row.gap = Clamp(t.parameter, 0, MaxLengthTwips); return true;
    case RtfWord::Trleft: row.left = Length(t); return true;
    case RtfWord::Trql: row.alignment = 0; return true;
    case RtfWord::Trqr: row.alignment = 1; return true;
    case RtfWord::Trqc: row.alignment = 2; return true;
    case RtfWord::Cellx:
        // A boundary at or left of the one before makes a cell of no width, which
        // no program shows; some writers repeat the last boundary so.
        if (row.cellCount > 0 && Length(t) <= row.cellRight[size_t(row.cellCount - 1)])
            return true;
        if (row.cellCount < RtfRowState::MaxCells)
            row.cellRight[size_t(row.cellCount++)] = Length(t);
        return true;
    case RtfWord::Cell:
        if (InBody())
            builder_.EndCell(cur_.para);
        return true;
    case RtfWord::Row:
        if (cur_.dest == RtfDestination::Body)
            builder_.EndRow(row_, cur_.para);
        return true;
    case RtfWord::Nestcell:
        if (InBody())
            builder_.EndNestedCell(cur_.para);
        return true;
    case RtfWord::Nestrow:
        if (InBody())
            builder_.EndNestedRow(row, cur_.para);
        return true;
    default:
        return false;
    }
}

void RtfReaderEngine::CharWord(const RtfToken& t, RtfWord w)
{
    RtfCharState& c = cur_.ch;
    switch (w) {
    case RtfWord::Plain: {
        const int link = c.link;
        c = RtfCharState();
        c.font = deff_;
        c.link = link;
        return;
    }
    case RtfWord::B: c.bold = On(t); return;
    case RtfWord::I: c.italic = On(t); return;
    case RtfWord::Strike:
    case RtfWord::Striked: c.strike = On(t); return;
    case RtfWord::Ul: c.underline = On(t) ? CFU_UNDERLINE : CFU_UNDERLINENONE; return;
    case RtfWord::Ulnone: c.underline = CFU_UNDERLINENONE; return;
    case RtfWord::Ulw: c.underline = On(t) ? CFU_UNDERLINEWORD : CFU_UNDERLINENONE; return;
    case RtfWord::Uldb: c.underline = On(t) ? CFU_UNDERLINEDOUBLE : CFU_UNDERLINENONE; return;
    case RtfWord::Uld:
    case RtfWord::Ulthd: c.underline = On(t) ? CFU_UNDERLINEDOTTED : CFU_UNDERLINENONE; return;
    case RtfWord::Uldash:
    case RtfWord::Ulthdash:
    case RtfWord::Ulldash:
    case RtfWord::Ulthldash: c.underline = On(t) ? CFU_UNDERLINEDASH : CFU_UNDERLINENONE; return;
    case RtfWord::Uldashd:
    case RtfWord::Ulthdashd: c.underline = On(t) ? CFU_UNDERLINEDASHDOT : CFU_UNDERLINENONE; return;
    case RtfWord::Uldashdd:
    case RtfWord::Ulthdashdd: c.underline = On(t) ? CFU_UNDERLINEDASHDOTDOT : CFU_UNDERLINENONE; return;
    case RtfWord::Ulwave:
    case RtfWord::Ulhwave:
    case RtfWord::Ululdbwave:
    case RtfWord::Uldbwave: c.underline = On(t) ? CFU_UNDERLINEWAVE : CFU_UNDERLINENONE; return;
    case RtfWord::Ulth: c.underline = On(t) ? CFU_UNDERLINETHICK : CFU_UNDERLINENONE; return;
    case RtfWord::Sub: c.script = On(t) ? 2 : 0; return;
    case RtfWord::Super: c.script = On(t) ? 1 : 0; return;
    case RtfWord::Nosupersub:
        c.script = 0;
        c.offsetTwips = 0;
        return;
    case RtfWord::Up: c.offsetTwips = Clamp(t.hasParameter ? t.parameter : 6, 0, MaxHalfPoints) * 10; return;
    case RtfWord::Dn: c.offsetTwips = -Clamp(t.hasParameter ? t.parameter : 6, 0, MaxHalfPoints) * 10; return;
    case RtfWord::Fs:
        if (t.parameter > 0)
            c.sizeHalfPoints = Clamp(t.parameter, 2, MaxHalfPoints);
        return;
    case RtfWord::F: c.font = t.parameter; return;
    case RtfWord::Cf: c.color = Clamp(t.parameter, 0, 0xffff); return;
    case RtfWord::Cb:
    case RtfWord::Chcbpat:
    case RtfWord::Highlight: c.background = Clamp(t.parameter, 0, 0xffff); return;
    case RtfWord::Scaps: c.smallCaps = On(t); return;
    case RtfWord::Caps: c.allCaps = On(t); return;
    case RtfWord::V: c.hidden = On(t); return;
    case RtfWord::Protect: c.protect = On(t); return;
    case RtfWord::Lang: c.lcid = Clamp(t.parameter, 0, 0xffff); return;
    case RtfWord::Tab: AppendUnits(QStringLiteral("\t")); return;
    case RtfWord::Emdash: AppendUnits(QString(QChar(0x2014))); return;
    case RtfWord::Endash: AppendUnits(QString(QChar(0x2013))); return;
    case RtfWord::Lquote: AppendUnits(QString(QChar(0x2018))); return;
    case RtfWord::Rquote: AppendUnits(QString(QChar(0x2019))); return;
    case RtfWord::Ldblquote: AppendUnits(QString(QChar(0x201C))); return;
    case RtfWord::Rdblquote: AppendUnits(QString(QChar(0x201D))); return;
    case RtfWord::Bullet: AppendUnits(QString(QChar(0x2022))); return;
    case RtfWord::Emspace: AppendUnits(QString(QChar(0x2003))); return;
    case RtfWord::Enspace: AppendUnits(QString(QChar(0x2002))); return;
    case RtfWord::Qmspace: AppendUnits(QString(QChar(0x2005))); return;
    case RtfWord::Zwj: AppendUnits(QString(QChar(0x200D))); return;
    case RtfWord::Zwnj: AppendUnits(QString(QChar(0x200C))); return;
    case RtfWord::Ltrmark: AppendUnits(QString(QChar(0x200E))); return;
    case RtfWord::Rtlmark: AppendUnits(QString(QChar(0x200F))); return;
    case RtfWord::Line: AppendUnits(QString(QChar(QChar::LineSeparator))); return;
    default:
        return;   // unknown words are skipped
    }
}

void RtfReaderEngine::Symbol(char c)
{
    switch (c) {
    case '\\':
    case '{':
    case '}':
        AppendUnits(QString(QChar(c)));
        return;
    case '~': AppendUnits(QString(QChar(0x00A0))); return;
    case '-': AppendUnits(QString(QChar(0x00AD))); return;
    case '_': AppendUnits(QString(QChar(0x2011))); return;
    case '\t': AppendUnits(QStringLiteral("\t")); return;
    default: return;
    }
}

} // namespace platform
