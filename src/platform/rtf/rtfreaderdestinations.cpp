// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader's destinations: font, colour, style and list tables, numbering
// groups, fields, pictures and kept objects.
#include "rtfreaderengine.h"

#include "richeditconsts.h"
#include "rtfhyperlink.h"
#include "rtfpicture.h"
#include "rtfreaderlimits.h"
#include "textproperties.h"

#include <QTextDocument>

namespace platform {

using namespace rtflimits;

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
    case RtfDestination::StyleEntry:
        if (styleNumber_ >= 0)
            styles_[styleNumber_] = {closed.ch, closed.para};
        break;
    default:
        break;
    }
}

bool RtfReaderEngine::SkipRestOfGroup()
{
    if (cur_.dest == RtfDestination::StyleEntry)
        styleNumber_ = -1;   // a skipped style sheet group defines nothing
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
        cur_.dest = RtfDestination::Stylesheet;
        return true;
    case RtfWord::Nesttableprops:
        cur_.dest = RtfDestination::NestTableProps;
        return true;
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
        ReadObject();
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

// A paragraph style gives the paragraph and its text their starting formats;
// the formats written after it still apply on top.
void RtfReaderEngine::ApplyStyle(int number)
{
    // Naming the paragraph's style again (as AbiWord does in each run) changes
    // nothing: the formats given after the first naming still hold.
    if (cur_.para.style == number)
        return;
    auto it = styles_.find(number);
    if (it == styles_.end())
        return;
    const int tableLevel = cur_.para.tableLevel;
    cur_.para = it->second.para;
    cur_.para.tableLevel = tableLevel;
    cur_.para.style = number;
    const int link = cur_.ch.link;
    cur_.ch = it->second.ch;
    cur_.ch.link = link;
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

// A picture or object takes what its group says about it as a character: hidden
// (\v), protected, or a link's target.
QTextCharFormat RtfReaderEngine::ObjectFormat(QTextCharFormat object) const
{
    const QTextCharFormat around = tables_.CharFormat(cur_.ch);
    for (const int property : {int(PropHidden), int(PropProtected), int(PropLink), int(QTextFormat::IsAnchor),
                               int(QTextFormat::AnchorHref)})
        if (around.hasProperty(property))
            object.setProperty(property, around.property(property));
    return object;
}

} // namespace platform
