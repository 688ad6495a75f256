// SPDX-License-Identifier: GPL-3.0-or-later
// Character commands: underline kinds (F7), indexes (F8), colour marking, the
// control's background colour, the font dialog, letter case by the Windows-1251
// rule, font size and baseline steps, bold and italic.
#include "view.h"

#include "casemap.h"
#include "colorref.h"
#include "prompter.h"
#include "richedit.h"

#include <QMenu>

namespace {

constexpr const char* UnderlineNames[] = {"mLine", "mBold", "mDott", "mDash", "mWave", "mDotDash", "m2DotDash"};
// The underline type of each item of the Underline kind submenu, in order.
constexpr std::uint8_t UnderlineKinds[] = {1, 9, 4, 5, 8, 6, 7};

QString MapCase(const QString& text, bool up)
{
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
    const std::u16string mapped = up ? UpperWin(view) : LowerWin(view);
    return QString(reinterpret_cast<const QChar*>(mapped.data()), qsizetype(mapped.size()));
}

// Several attribute writes that make one command undo as one step.
class OneStep {
public:
    explicit OneStep(platform::RichEdit* control) : control(control) { control->BeginUndoGroup(); }
    ~OneStep() { control->EndUndoGroup(); }
    OneStep(const OneStep&) = delete;
    OneStep& operator=(const OneStep&) = delete;

private:
    platform::RichEdit* control;
};

} // namespace

void TfmView::UnderlineItemClick(int index)
{
    if (index < 0 || index > 6)
        return;
    UnderKind = UnderlineKinds[index];
    if (Item(QStringLiteral("mUlUse"))->isChecked())
        SetUnderLine();
    N60Click();
}

void TfmView::mUlUseClick()
{
    // The item's check mark has already flipped (its menu's rule set it first).
    SetUnderLine();
}

void TfmView::SetUnderLine()
{
    GEditor->SelAttributes()->SetUnderlineType(Item(QStringLiteral("mUlUse"))->isChecked() ? UnderKind : 0);
}

void TfmView::N60Click()
{
    Item(QStringLiteral("mUlUse"))->setChecked(GEditor->SelAttributes()->UnderlineType() != 0);
    for (int i = 0; i < 7; ++i)
        Item(QString::fromLatin1(UnderlineNames[i]))->setChecked(UnderlineKinds[i] == UnderKind);
}

void TfmView::IndexItemClick(std::uint8_t kind)
{
    IndexKind = kind;
    if (Item(QStringLiteral("mIUse"))->isChecked())
        SetIndexKind();
    N73Click();
}

void TfmView::mIUseClick()
{
    SetIndexKind();
}

void TfmView::SetIndexKind()
{
    GEditor->SelAttributes()->SetSubSuperscript(Item(QStringLiteral("mIUse"))->isChecked() ? IndexKind : 0);
}

void TfmView::N73Click()
{
    Item(QStringLiteral("mIUse"))->setChecked(GEditor->SelAttributes()->SubSuperscript() != 0);
    Item(QStringLiteral("mIHi"))->setChecked(IndexKind == 2);
    Item(QStringLiteral("mILo"))->setChecked(IndexKind == 1);
}

void TfmView::mClrClick()
{
    const platform::CHARFORMAT2 format = GEditor->Window()->GetCharFormat(platform::SCF_SELECTION);
    // Text with no marking of its own starts the dialog at white, not at black.
    const QColor initial = (format.dwEffects & platform::CFE_AUTOBACKCOLOR)
                               ? QColor(Qt::white)
                               : ColorFromRef(GEditor->SelAttributes()->BackColor(), palette());
    const std::optional<QColor> chosen = CurrentPrompter().ColorDialog(initial);
    if (chosen && chosen->isValid())
        GEditor->SelAttributes()->SetBackColor(ColorToRef(*chosen));
}

void TfmView::N27Click()
{
    const std::optional<QColor> chosen = CurrentPrompter().ColorDialog(ColorFromRef(GEditor->Color(), palette()));
    if (chosen && chosen->isValid())
        GEditor->SetColor(ColorToRef(*chosen));
}

void TfmView::meFontClick()
{
    TTextAttributes* sel = GEditor->SelAttributes();
    const TFontStyles style = sel->Style();
    QFont initial(sel->Name());
    if (sel->Size() > 0)
        initial.setPointSize(sel->Size());
    initial.setBold(style.Contains(TFontStyle::fsBold));
    initial.setItalic(style.Contains(TFontStyle::fsItalic));
    initial.setUnderline(style.Contains(TFontStyle::fsUnderline));
    initial.setStrikeOut(style.Contains(TFontStyle::fsStrikeOut));
    const std::optional<QFont> chosen = CurrentPrompter().FontDialog(initial);
    if (!chosen)
        return;
    TFont font;
    font.Name = chosen->family();
    font.Size = chosen->pointSize() > 0 ? chosen->pointSize() : sel->Size();
    // The dialog has no colour or script of its own: the selection keeps both.
    font.Color = sel->Color();
    font.Charset = sel->Charset();
    if (chosen->bold())
        font.Style.Include(TFontStyle::fsBold);
    if (chosen->italic())
        font.Style.Include(TFontStyle::fsItalic);
    if (chosen->underline())
        font.Style.Include(TFontStyle::fsUnderline);
    if (chosen->strikeOut())
        font.Style.Include(TFontStyle::fsStrikeOut);
    SetSelFont(font);
}

void TfmView::SetSelFont(const TFont& font)
{
    TTextAttributes* sel = GEditor->SelAttributes();
    {
        const OneStep step(GEditor->Window());
        sel->SetColor(font.Color);
        sel->SetName(font.Name);
        sel->SetSize(font.Size);
        sel->SetCharset(font.Charset);
        sel->SetStyle(font.Style);
        sel->SetUnderlineType(font.Style.Contains(TFontStyle::fsUnderline) ? UnderKind : 0);
    }
    // The whole text chosen: the font becomes the editor's own as well.
    const std::int32_t length = GEditor->Window()->GetTextLength();
    if (GEditor->SelStart() == 0 && GEditor->SelLength() >= length)
        GEditor->SetFont(font);
}

void TfmView::CaseChange(bool up)
{
    if (GEditor->SelLength() == 0 || GEditor->ReadOnly())
        return;
    // Letter by letter in place: formats, objects and line ends stay as they were.
    platform::RichEdit* control = GEditor->Window();
    control->ReplaceSelSameLength(MapCase(control->GetSelText(), up));
}

// A read-only text keeps its look as well as its letters: the format keys do nothing.
void TfmView::ChangeFontSize(int delta)
{
    if (GEditor->ReadOnly())
        return;
    TTextAttributes* sel = GEditor->SelAttributes();
    const int size = sel->Size() + delta;
    if (size >= 1)
        sel->SetSize(size);
}

void TfmView::ChangeOffset(int delta)
{
    if (GEditor->SelLength() == 0 || GEditor->ReadOnly())
        return;
    TTextAttributes* sel = GEditor->SelAttributes();
    sel->SetOffset(sel->Offset() + delta);
}

void TfmView::ToggleStyle(TFontStyle style)
{
    if (GEditor->ReadOnly())
        return;
    TTextAttributes* sel = GEditor->SelAttributes();
    TFontStyles styles = sel->Style();
    if (styles.Contains(style))
        styles.Exclude(style);
    else
        styles.Include(style);
    sel->SetStyle(styles);
}

void TfmView::WireCharacterCommands()
{
    auto on = [this](const char* name, auto method) {
        QAction* item = Item(QString::fromLatin1(name));
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, method);
    };
    for (int i = 0; i < 7; ++i) {
        on(UnderlineNames[i], [this, i] { UnderlineItemClick(i); });
        Item(QString::fromLatin1(UnderlineNames[i]))->setCheckable(true);
    }
    on("mUlUse", &TfmView::mUlUseClick);
    on("mIHi", [this] { IndexItemClick(2); });
    on("mILo", [this] { IndexItemClick(1); });
    on("mIUse", &TfmView::mIUseClick);
    for (const char* name : {"mUlUse", "mIHi", "mILo", "mIUse"})
        Item(QString::fromLatin1(name))->setCheckable(true);
    on("mClr", &TfmView::mClrClick);
    on("CtrlF111", &TfmView::mClrClick);
    on("N27", &TfmView::N27Click);
    on("meColor", &TfmView::N27Click);
    on("N28", &TfmView::meFontClick);
    on("meFont", &TfmView::meFontClick);
    on("meUpp", [this] { CaseChange(true); });
    on("mpUpp", [this] { CaseChange(true); });
    on("meLow", [this] { CaseChange(false); });
    on("mpLow", [this] { CaseChange(false); });
    OnMenuOpening(Menu(QStringLiteral("N60")), &TfmView::N60Click);
    OnMenuOpening(Menu(QStringLiteral("N73")), &TfmView::N73Click);
}
