// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the Options key at the first show and applying it to the window and
// the editor; the built-in defaults; the encoding and paragraph helpers.
#include "view.h"

#include "paragraphkinds.h"
#include "qlconsts.h"
#include "registrymessages.h"
#include "startupoptions.h"
#include "sysbib.h"

namespace {

constexpr double RightIndentPoints = 5;

} // namespace

TFontStyles TfmView::StrToStyle(const QString& text)
{
    TFontStyles style;
    if (text.size() > 0 && text[0] == QLatin1Char('1'))
        style.Include(TFontStyle::fsBold);
    if (text.size() > 1 && text[1] == QLatin1Char('1'))
        style.Include(TFontStyle::fsItalic);
    if (text.size() > 2 && text[2] == QLatin1Char('1'))
        style.Include(TFontStyle::fsUnderline);
    return style;
}

void TfmView::FormInterface()
{
    UpdateHist();
    try {
        const StartupOptions options = ReadStartupOptions();
        if (options.keyFound)
            ApplyOptions(options);
        else
            AllDefault();
    } catch (const platform::RegistryError& error) {
        // A damaged store or a value of the wrong kind: said, and the window
        // starts with its defaults.
        ReportRegistryError(error);
        AllDefault();
    }
    GEditor->Paragraph()->SetRightIndent(RightIndentPoints);
}

void TfmView::ApplyOptions(const StartupOptions& o)
{
    if (o.color)
        GEditor->SetColor(*o.color);
    TFont font = GEditor->Font();
    if (o.fontName)
        font.Name = *o.fontName;
    if (o.fontSize)
        font.Size = *o.fontSize;
    if (o.charset)
        font.Charset = static_cast<TFontCharset>(*o.charset);
    if (o.fontColor)
        font.Color = *o.fontColor;
    if (o.fontStyle)
        font.Style = StrToStyle(*o.fontStyle);
    GEditor->SetFont(font);
    DefFont = GEditor->Font();

    SetKodP(static_cast<std::uint8_t>(o.rusCode));
    SetEncoding(CurEncoding);
    IndentStep = o.indent;
    SetIndents();
    GEditor->SetReadOnly(o.readOnly);
    if (!o.allEncodingButtons)
        mAllBClick();
    if (!o.paragraphButtons)
        ShowAlignButtons(false);
    // As if the stored items were chosen from their menus.
    if (o.parNum)
        NumberingItemClick(*o.parNum);
    if (o.underLine)
        UnderlineItemClick(*o.underLine);
    if (o.wrap) {
        GEditor->SetWordWrap(*o.wrap);
        sbWrap->setChecked(*o.wrap);
        HintWrap();
    }
    if (o.ole)
        GEditor->SetAllowObjects(*o.ole);
    if (o.autoUrl)
        GEditor->SetAutoURLDetect(*o.autoUrl);
    GEditor->ExceptMac = o.exceptMac;

    QRect bounds = geometry();
    if (o.top)
        bounds.moveTop(*o.top);
    if (o.left)
        bounds.moveLeft(*o.left);
    if (o.width)
        bounds.setWidth(*o.width);
    if (o.height)
        bounds.setHeight(*o.height);
    setGeometry(bounds);
    if (o.window == StartWindowMode::FullScreen)
        SetScreen(true);
    else if (o.window == StartWindowMode::Normal)
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    else
        setWindowState(windowState() | Qt::WindowMaximized);

    GEditor->SetDosAdd(static_cast<TDosAdd>(o.dosAdd));
    GEditor->SetAutoEncoding(o.autoEncoding);
    SetJournal(o.journal, o.journalDelay ? *o.journalDelay * 1000 : JournalDelayMs);
    DownButt();
}

void TfmView::AllDefault()
{
    SetKodP(Win);
    SetEncoding(Win);
    setWindowState(windowState() | Qt::WindowMaximized);
    GEditor->SetFont(DefFont);
    GEditor->SetColor(clWindow);
    GEditor->SetAutoEncoding(true);
    GEditor->SetDosAdd(daUNI);
    GEditor->ExceptMac = true;
    DownButt();
}

void TfmView::FontInitialize()
{
    DefFont = TFont();
    DefFont.Name = QStringLiteral("Courier New");
    DefFont.Size = 10;
    DefFont.Color = clBlack;
    DefFont.Charset = 1;
    DefFont.Style = {};
}

void TfmView::SetEncoding(std::uint8_t e)
{
    GEditor->SetEncoding(static_cast<TEnc>(e));
}

void TfmView::SetKodP(std::uint8_t e)
{
    CurEncoding = e;
}

void TfmView::DownButt()
{
    if (QAbstractButton* b = encodingGroup->button(CurEncoding))
        b->setChecked(true);
}

void TfmView::SetParaDefault()
{
    TParaAttributes* para = GEditor->Paragraph();
    para->SetAlignment(0);
    para->SetNumbering(0);
    para->SetFirstIndent(0);
    para->SetLeftIndent(0);
    para->SetRightIndent(RightIndentPoints);
}

void TfmView::AlignBut()
{
    TParaAttributes* para = GEditor->Paragraph();
    QToolButton* const buttons[] = {sbLeft, sbRight, sbCenter, sbWidth};
    const std::uint8_t alignment = para->Alignment();
    if (alignment < 4)
        buttons[alignment]->setChecked(true);
    sbBullet->setChecked(para->Numbering() != 0);
}

void TfmView::InvalidateSnapshot()
{
    GEditor->TempStream()->Invalidate();
}
