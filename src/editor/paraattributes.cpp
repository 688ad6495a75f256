// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraph format properties over the control's PARAFORMAT2 record.
#include "paraattributes.h"

#include "qxeditor.h"
#include "richedit.h"
#include "textattributes.h"

using namespace platform;

PARAFORMAT2 TParaAttributes::Get() const
{
    PARAFORMAT2 format;
    if (Editor->HandleAllocated())
        format = Editor->Window()->GetParaFormat();
    return format;
}

void TParaAttributes::Set(const PARAFORMAT2& format)
{
    if (Editor->HandleAllocated())
        Editor->Window()->SetParaFormat(format);
}

std::uint8_t TParaAttributes::Alignment() const
{
    return std::uint8_t(Get().wAlignment - 1);
}

void TParaAttributes::SetAlignment(std::uint8_t value)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = std::uint16_t(value + 1);
    Set(format);
}

std::uint8_t TParaAttributes::Numbering() const
{
    return std::uint8_t(Get().wNumbering);
}

void TParaAttributes::SetNumbering(std::uint8_t value)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_NUMBERING;
    format.wNumbering = value;
    Set(format);
}

void TParaAttributes::SetNumberingStyle(std::uint8_t index)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_NUMBERINGSTYLE;
    format.wNumberingStyle = std::uint16_t(index * 0x100);
    Set(format);
}

void TParaAttributes::SetNumberingStart(std::uint16_t value)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_NUMBERINGSTART;
    format.wNumberingStart = value;
    Set(format);
}

void TParaAttributes::SetNumberingTab(double points)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_NUMBERINGTAB;
    format.wNumberingTab = std::uint16_t(PointsToTwips(points));
    Set(format);
}

double TParaAttributes::FirstIndent() const
{
    return Get().dxStartIndent / 20.0;
}

void TParaAttributes::SetFirstIndent(double points)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_STARTINDENT;
    format.dxStartIndent = PointsToTwips(points);
    Set(format);
}

void TParaAttributes::SetLeftIndent(double points)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_OFFSET;
    format.dxOffset = PointsToTwips(points);
    Set(format);
}

void TParaAttributes::SetRightIndent(double points)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_RIGHTINDENT;
    format.dxRightIndent = PointsToTwips(points);
    Set(format);
}

std::uint8_t TParaAttributes::LineSpacingRule() const
{
    return Get().bLineSpacingRule;
}

void TParaAttributes::SetLineSpacing(std::uint8_t rule, double points)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_LINESPACING;
    format.bLineSpacingRule = rule;
    format.dyLineSpacing = PointsToTwips(points);
    Set(format);
}

bool TParaAttributes::InTable() const
{
    return Get().wEffects == PFE_TABLE;
}
