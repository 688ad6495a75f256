// The RTF reader's token walk: group states, destinations, control words and text.
#include "rtfreaderengine.h"

#include "richeditconsts.h"
#include "rtfhyperlink.h"
#include "rtfpicture.h"
#include "rtfwords.h"

#include <QTextDocument>

#include <algorithm>

namespace platform {

namespace {

// Bounds that keep absurd numbers harmless: the largest font the control shows
// (1638 points) and a page far wider than any printer's.
constexpr int MaxHalfPoints = 3276;
constexpr int MaxLengthTwips = 31680 * 4;
constexpr int MaxUnicodeSkip = 16;

int Clamp(int v, int lo, int hi) { return std::clamp(v, lo, hi); }
int Length(const RtfToken& t) { return Clamp(t.parameter, -MaxLengthTwips, MaxLengthTwips); }
bool On(const RtfToken& t) { return !t.hasParameter || t.parameter != 0; }

} // namespace

RtfReaderEngine::RtfReaderEngine(const QByteArray& data, QTextCursor& cursor)
    : tokens_(data), cursor_(cursor), builder_(cursor, tables_)
{
}

void RtfReaderEngine::Read()
{
    RtfToken t;
    bool groupOpened = false;
    bool starred = false;
    while (!ended_ && tokens_.Next(t)) {
        switch (t.kind) {
        case RtfTokenKind::GroupStart:
            Push();
            skip_ = 0;
            groupOpened = true;
            starred = false;
            continue;
        case RtfTokenKind::GroupEnd:
            skip_ = 0;
            groupOpened = false;
            Pop();
            continue;
        case RtfTokenKind::ControlSymbol:
            if (groupOpened && t.word[0] == '*') {
                starred = true;
                continue;
            }
            groupOpened = false;
            if (skip_ > 0) {
                --skip_;
                continue;
            }
            if (t.wordLength == 1)
                Symbol(t.word[0]);
            continue;
        case RtfTokenKind::ControlWord: {
            if (t.Is("bin")) {
                // Binary data outside a picture means nothing to this reader.
                tokens_.TakeBinary(t.parameter);
                groupOpened = false;
                continue;
            }
            if (skip_ > 0) {
                --skip_;
                groupOpened = false;
                continue;
            }
            const bool first = groupOpened;
            groupOpened = false;
            const RtfWord w = LookUpRtfWord(t.word, t.wordLength);
            if (first && StartDestination(t, w))
                continue;
            if (first && starred) {
                SkipRestOfGroup();
                continue;
            }
            Word(t, w);
            continue;
        }
        case RtfTokenKind::HexByte:
            groupOpened = false;
            if (skip_ > 0) {
                --skip_;
                continue;
            }
            HexByte(t.byte);
            continue;
        case RtfTokenKind::Text: {
            groupOpened = false;
            int begin = t.textBegin;
            if (skip_ > 0) {
                const int n = std::min(skip_, t.textEnd - begin);
                skip_ -= n;
                begin += n;
            }
            if (begin < t.textEnd)
                Text(tokens_.Data() + begin, t.textEnd - begin);
            continue;
        }
        case RtfTokenKind::End:
            break;
        }
    }
    // Whatever destination was open when the data ended is closed in order.
    while (!ended_ && cur_.dest != RtfDestination::Body && Pop()) {
    }
    builder_.Finish(cur_.para);
}

void RtfReaderEngine::Push()
{
    if (int(stack_.size()) >= MaxDepth) {
        ++overflow_;
        return;
    }
    stack_.push_back(cur_);
    cur_.groupStart = tokens_.Position() - 1;
}

bool RtfReaderEngine::Pop()
{
    if (overflow_ > 0) {
        --overflow_;
        return true;
    }
    if (stack_.size() <= 1) {
        // The document's own group closed: what follows is not RTF. Its state
        // stays, as the last paragraph still needs it.
        ended_ = true;
        return false;
    }
    const GroupState closed = cur_;
    cur_ = stack_.back();
    stack_.pop_back();
    if (closed.dest != cur_.dest)
        CloseDestination(closed);
    return true;
}

void RtfReaderEngine::CloseDestination(const GroupState& closed)
{
    switch (closed.dest) {
    case RtfDestination::FontTable:
        if (fontOpen_)
            FinishFont();
        break;
    case RtfDestination::Pn: {
        int style = PFNS_PLAIN;
        if (pnBefore_.trimmed() == QLatin1String("(") && pnAfter_.trimmed() == QLatin1String(")"))
            style = PFNS_PARENS;
        else if (pnAfter_.trimmed() == QLatin1String(")"))
            style = PFNS_PAREN;
        else if (pnAfter_.trimmed() == QLatin1String("."))
            style = PFNS_PERIOD;
        int numbering = pnNumbering_;
        if (pnContinue_) {
            style = PFNS_NONUMBER;
            numbering = lastNumbering_ != PFN_NONE ? lastNumbering_ : PFN_ARABIC;
        }
        if (numbering == PFN_BULLET)
            style = 0;
        cur_.para.numbering = numbering;
        cur_.para.numberingStyle = numbering == PFN_NONE ? 0 : style;
        cur_.para.numberingStart = numbering == PFN_BULLET ? 0 : pnStart_;
        cur_.para.numberingTab = pnTab_;
        if (numbering != PFN_NONE)
            lastNumbering_ = numbering;
        break;
    }
    case RtfDestination::PnTextBefore:
        pnBefore_ = scratch_;
        break;
    case RtfDestination::PnTextAfter:
        pnAfter_ = scratch_;
        break;
    case RtfDestination::ListLevel:
        listLevels_.push_back(level_);
        break;
    case RtfDestination::List:
        if (listId_ != 0)
            tables_.lists[listId_] = listLevels_;
        break;
    case RtfDestination::ListOverride:
        if (overrideLs_ != 0)
            tables_.listOverrides[overrideLs_] = overrideListId_;
        break;
    default:
        break;
    }
}

bool RtfReaderEngine::SkipRestOfGroup()
{
    tokens_.SkipGroup();
    return Pop();
}

bool RtfReaderEngine::StartDestination(const RtfToken& t, RtfWord w)
{
    switch (w) {
    case RtfWord::Fonttbl:
        cur_.dest = RtfDestination::FontTable;
        fontOpen_ = false;
        return true;
    case RtfWord::Colortbl:
        cur_.dest = RtfDestination::ColorTable;
        tables_.colors.clear();
        colorGiven_ = false;
        red_ = green_ = blue_ = 0;
        return true;
    case RtfWord::F:
        if (cur_.dest == RtfDestination::FontTable) {
            // One entry of the font table in a group of its own.
            Word(t, w);
            return true;
        }
        return false;
    case RtfWord::Stylesheet:
    case RtfWord::Info:
    case RtfWord::Nonshppict:
    case RtfWord::Pntext:
    case RtfWord::Listtext:
    case RtfWord::Nonesttables:
    case RtfWord::Header:
    case RtfWord::Footer:
    case RtfWord::Headerl:
    case RtfWord::Headerr:
    case RtfWord::Headerf:
    case RtfWord::Footerl:
    case RtfWord::Footerr:
    case RtfWord::Footerf:
    case RtfWord::Footnote:
    case RtfWord::Annotation:
    case RtfWord::Atnid:
    case RtfWord::Atnauthor:
    case RtfWord::Xe:
    case RtfWord::Tc:
    case RtfWord::Txe:
    case RtfWord::Listname:
    case RtfWord::Levelnumbers:
    case RtfWord::Themedata:
    case RtfWord::Colorschememapping:
    case RtfWord::Latentstyles:
    case RtfWord::Datastore:
    case RtfWord::Generator:
        SkipRestOfGroup();
        return true;
    case RtfWord::Pict:
        ReadPicture();
        return true;
    case RtfWord::Object:
        KeepObject();
        return true;
    case RtfWord::Shppict:
        return true;   // Word's picture wrapper: its \pict is the picture to show
    case RtfWord::Field:
        fields_.emplace_back();
        cur_.field = int(fields_.size());
        return true;
    case RtfWord::Fldinst:
        cur_.dest = RtfDestination::FieldInstruction;
        return true;
    case RtfWord::Fldrslt:
        StartFieldResult();
        return true;
    case RtfWord::Pn:
        cur_.dest = RtfDestination::Pn;
        pnNumbering_ = PFN_ARABIC;
        pnStart_ = 0;
        pnTab_ = 0;
        pnContinue_ = false;
        pnBefore_.clear();
        pnAfter_.clear();
        return true;
    case RtfWord::Pntxta:
    case RtfWord::Pntxtb:
        if (cur_.dest != RtfDestination::Pn)
            return SkipRestOfGroup(), true;
        cur_.dest = w == RtfWord::Pntxta ? RtfDestination::PnTextAfter : RtfDestination::PnTextBefore;
        scratch_.clear();
        return true;
    case RtfWord::Listtable:
        cur_.dest = RtfDestination::ListTable;
        return true;
    case RtfWord::List:
        if (cur_.dest != RtfDestination::ListTable)
            return false;
        cur_.dest = RtfDestination::List;
        listLevels_.clear();
        listId_ = 0;
        return true;
    case RtfWord::Listlevel:
        if (cur_.dest != RtfDestination::List)
            return false;
        cur_.dest = RtfDestination::ListLevel;
        level_ = RtfListLevel();
        return true;
    case RtfWord::Leveltext:
        if (cur_.dest != RtfDestination::ListLevel)
            return false;
        cur_.dest = RtfDestination::LevelText;
        Word(t, w);
        return true;
    case RtfWord::Listoverridetable:
        cur_.dest = RtfDestination::ListOverrideTable;
        return true;
    case RtfWord::Listoverride:
        if (cur_.dest != RtfDestination::ListOverrideTable)
            return false;
        cur_.dest = RtfDestination::ListOverride;
        overrideListId_ = 0;
        overrideLs_ = 0;
        Word(t, w);
        return true;
    default:
        return false;
    }
}

void RtfReaderEngine::StartFieldResult()
{
    cur_.dest = RtfDestination::Body;
    if (cur_.field <= 0 || size_t(cur_.field) > fields_.size())
        return;
    const QString target = HyperlinkTarget(fields_[size_t(cur_.field - 1)]);
    if (target.isEmpty())
        return;
    tables_.links.push_back(target);
    cur_.ch.link = int(tables_.links.size());
}

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
        if (cur_.dest == RtfDestination::Body)
            builder_.EndParagraph(p);
        return true;
    case RtfWord::Pard:
        p = RtfParaState();
        return true;
    case RtfWord::Intbl:
        p.inTable = true;
        return true;
    case RtfWord::Itap:
        p.inTable = t.parameter > 0;
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
    switch (w) {
    case RtfWord::Trowd:
        row_ = RtfRowState();
        return true;
    case RtfWord::Trgaph: row_.gap = Clamp(t.parameter, 0, MaxLengthTwips); return true;
    case RtfWord::Trleft: row_.left = Length(t); return true;
    case RtfWord::Trql: row_.alignment = 0; return true;
    case RtfWord::Trqr: row_.alignment = 1; return true;
    case RtfWord::Trqc: row_.alignment = 2; return true;
    case RtfWord::Cellx:
        if (row_.cellCount < RtfRowState::MaxCells)
            row_.cellRight[size_t(row_.cellCount++)] = Length(t);
        return true;
    case RtfWord::Cell:
        if (cur_.dest == RtfDestination::Body)
            builder_.EndCell(cur_.para);
        return true;
    case RtfWord::Row:
        if (cur_.dest == RtfDestination::Body)
            builder_.EndRow(row_, cur_.para);
        return true;
    case RtfWord::Nestcell:
        // Nested tables are flattened: each nested cell is a paragraph of the outer cell.
        if (cur_.dest == RtfDestination::Body) {
            RtfParaState p = cur_.para;
            p.inTable = true;
            builder_.EndParagraph(p);
        }
        return true;
    case RtfWord::Nestrow:
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

QString* RtfReaderEngine::TextTarget()
{
    switch (cur_.dest) {
    case RtfDestination::Body:
        return &builder_.Text(cur_.ch);
    case RtfDestination::FontTable:
        return fontOpen_ ? &fontName_ : nullptr;
    case RtfDestination::PnTextBefore:
    case RtfDestination::PnTextAfter:
        return &scratch_;
    case RtfDestination::FieldInstruction:
        if (cur_.field > 0 && size_t(cur_.field) <= fields_.size())
            return &fields_[size_t(cur_.field - 1)];
        return nullptr;
    case RtfDestination::LevelText:
        return &level_.text;
    default:
        return nullptr;
    }
}

void RtfReaderEngine::AppendUnits(const QString& units)
{
    if (QString* target = TextTarget())
        target->append(units);
}

void RtfReaderEngine::SelectCodePage()
{
    if (cur_.dest == RtfDestination::FontTable) {
        decoder_.SetCodePage(font_.codePage != 0 ? font_.codePage
                                                 : (tables_.ansiCodePage ? tables_.ansiCodePage : DefaultAnsiCodePage));
        decoderFont_ = -2;
        return;
    }
    if (cur_.ch.font != decoderFont_ || tables_.ansiCodePage != decoderAnsi_) {
        decoder_.SetCodePage(tables_.CodePageOf(cur_.ch.font));
        decoderFont_ = cur_.ch.font;
        decoderAnsi_ = tables_.ansiCodePage;
    }
}

void RtfReaderEngine::Text(const char* bytes, int n)
{
    switch (cur_.dest) {
    case RtfDestination::FontTable: {
        if (!fontOpen_)
            return;
        for (int i = 0; i < n; ++i) {
            if (bytes[i] == ';') {
                FinishFont();
                continue;
            }
            SelectCodePage();
            decoder_.Append(std::uint8_t(bytes[i]), fontName_);
        }
        return;
    }
    case RtfDestination::ColorTable:
        for (int i = 0; i < n; ++i)
            if (bytes[i] == ';')
                FinishColor();
        return;
    case RtfDestination::LevelText:
        for (int i = 0; i < n; ++i)
            level_.text.append(QChar(char16_t(std::uint8_t(bytes[i]))));
        return;
    default:
        break;
    }
    QString* target = TextTarget();
    if (!target)
        return;
    SelectCodePage();
    decoder_.Append(bytes, n, *target);
}

void RtfReaderEngine::HexByte(std::uint8_t byte)
{
    if (cur_.dest == RtfDestination::LevelText) {
        level_.text.append(QChar(char16_t(byte)));
        return;
    }
    if (cur_.dest == RtfDestination::FontTable) {
        if (fontOpen_) {
            SelectCodePage();
            decoder_.Append(byte, fontName_);
        }
        return;
    }
    QString* target = TextTarget();
    if (!target)
        return;
    SelectCodePage();
    decoder_.Append(byte, *target);
}

void RtfReaderEngine::FinishFont()
{
    font_.name = NormalizeFontName(fontName_);
    if (!tables_.fonts.count(fontNumber_))
        tables_.fonts[fontNumber_] = font_;
    fontOpen_ = false;
    fontName_.clear();
    decoderFont_ = -2;
}

void RtfReaderEngine::FinishColor()
{
    if (colorGiven_)
        tables_.colors.push_back(QColor(red_, green_, blue_));
    else
        tables_.colors.push_back(std::nullopt);
    red_ = green_ = blue_ = 0;
    colorGiven_ = false;
}

void RtfReaderEngine::ReadPicture()
{
    RtfPicture picture;
    bool known = false;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
    int pendingNibble = -1;
    const int start = cur_.groupStart;
    RtfToken t;
    bool closed = false;
    while (tokens_.Next(t)) {
        if (t.kind == RtfTokenKind::GroupEnd) {
            closed = true;
            break;
        }
        if (t.kind == RtfTokenKind::GroupStart) {
            if (!tokens_.SkipGroup())
                break;
            continue;
        }
        if (t.kind == RtfTokenKind::Text) {
            const char* d = tokens_.Data();
            for (int i = t.textBegin; i < t.textEnd; ++i) {
                const char ch = d[i];
                int v = -1;
                if (ch >= '0' && ch <= '9')
                    v = ch - '0';
                else if (ch >= 'a' && ch <= 'f')
                    v = ch - 'a' + 10;
                else if (ch >= 'A' && ch <= 'F')
                    v = ch - 'A' + 10;
                if (v < 0)
                    continue;
                if (pendingNibble < 0) {
                    pendingNibble = v;
                } else {
                    picture.data.append(char(pendingNibble * 16 + v));
                    pendingNibble = -1;
                }
            }
            continue;
        }
        if (t.kind != RtfTokenKind::ControlWord)
            continue;
        switch (LookUpRtfWord(t.word, t.wordLength)) {
        case RtfWord::Pngblip: picture.kind = RtfPictureKind::Png; known = true; break;
        case RtfWord::Jpegblip: picture.kind = RtfPictureKind::Jpeg; known = true; break;
        case RtfWord::Picw: picw = Clamp(t.parameter, 0, MaxLengthTwips); break;
        case RtfWord::Pich: pich = Clamp(t.parameter, 0, MaxLengthTwips); break;
        case RtfWord::Picwgoal: goalw = Clamp(t.parameter, 0, MaxLengthTwips); break;
        case RtfWord::Pichgoal: goalh = Clamp(t.parameter, 0, MaxLengthTwips); break;
        case RtfWord::Picscalex: scalex = Clamp(t.parameter, 1, 1000); break;
        case RtfWord::Picscaley: scaley = Clamp(t.parameter, 1, 1000); break;
        case RtfWord::Bin: picture.data += tokens_.TakeBinary(t.parameter); break;
        default: break;
        }
    }
    if (!closed)
        picture.data.clear();   // a picture cut off by the end of data is not shown
    if (known && !picture.data.isEmpty() && cur_.dest == RtfDestination::Body) {
        // Without a goal size the picture's own size is taken as pixels.
        picture.widthTwips = (goalw > 0 ? goalw : picw * 15) * scalex / 100;
        picture.heightTwips = (goalh > 0 ? goalh : pich * 15) * scaley / 100;
        builder_.AppendObject(ImageFormatFor(*cursor_.document(), picture));
    } else if (closed && cur_.dest == RtfDestination::Body) {
        builder_.AppendObject(KeptObjectFormat(QByteArray(tokens_.Data() + start, tokens_.Position() - start)));
    }
    if (closed)
        Pop();
}

void RtfReaderEngine::KeepObject()
{
    const int start = cur_.groupStart;
    if (!tokens_.SkipGroup())
        return;
    if (cur_.dest == RtfDestination::Body)
        builder_.AppendObject(KeptObjectFormat(QByteArray(tokens_.Data() + start, tokens_.Position() - start)));
    Pop();
}

} // namespace platform
