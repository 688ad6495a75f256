// Reading the Options key at the first show and applying it to the window and
// the editor; the built-in defaults; the encoding and paragraph helpers.
#include "view.h"

#include "keypaths.h"
#include "qlconsts.h"
#include "registry.h"
#include "sysbib.h"

namespace {

constexpr int MaxIndentStep = 13;
constexpr double RightIndentPoints = 5;

// The numbering kind and style of each item of the Numbering submenu, in order.
constexpr std::pair<std::uint8_t, std::uint8_t> NumberingItems[] = {{1, 3}, {2, 3}, {3, 3}, {2, 2}, {3, 2},
                                                                     {2, 0}, {3, 0}, {2, 1}, {3, 1}};
// The underline type of each item of the Underline kind submenu, in order.
constexpr std::uint8_t UnderlineItems[] = {1, 9, 4, 5, 8, 6, 7};

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

void TfmView::ReportRegistryError(const platform::RegistryError& error)
{
    // A damaged store is said once; the program goes on with its defaults.
    if (error.Kind() == platform::RegistryErrorKind::Corrupt) {
        if (registryReported)
            return;
        registryReported = true;
        ShowError(Tr(QlConsts::SettingsUnreadable) + QString::fromStdString(error.Name()));
        return;
    }
    ShowError(Tr(error.Prefix()) + QString::fromStdString(error.Name()));
}

void TfmView::FormInterface()
{
    UpdateHist();
    try {
        platform::TRegistry reg(platform::HKEY_CURRENT_USER);
        if (!reg.OpenKey(KeyPaths::Options, false)) {
            AllDefault();
        } else {
            ApplyOptions(reg);
        }
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
        if (error.Kind() == platform::RegistryErrorKind::Corrupt)
            AllDefault();
    }
    GEditor->Paragraph()->SetRightIndent(RightIndentPoints);
}

void TfmView::ApplyOptions(platform::TRegistry& reg)
{
    auto has = [&reg](const char* name) { return reg.ValueExists(name); };
    if (has("Color"))
        GEditor->SetColor(reg.ReadInteger("Color"));
    TFont font = GEditor->Font();
    if (has("Font"))
        font.Name = QString::fromStdString(reg.ReadString("Font"));
    if (has("Size"))
        font.Size = reg.ReadInteger("Size");
    if (has("Charset"))
        font.Charset = static_cast<TFontCharset>(reg.ReadInteger("Charset"));
    if (has("FColor"))
        font.Color = reg.ReadInteger("FColor");
    if (has("FStyle"))
        font.Style = StrToStyle(QString::fromStdString(reg.ReadString("FStyle")));
    GEditor->SetFont(font);
    DefFont = GEditor->Font();

    std::int32_t code = has("RusCode") ? reg.ReadInteger("RusCode") : Win;
    // 7 and 8 name no encoding a text can be shown in; they count as out of range.
    if (code < Dos || code > Rtf)
        code = Win;
    SetKodP(static_cast<std::uint8_t>(code));
    SetEncoding(CurEncoding);

    IndentStep = has("Indent") ? reg.ReadInteger("Indent") : 0;
    if (IndentStep < 0 || IndentStep > MaxIndentStep)
        IndentStep = 0;
    SetIndents();

    if (has("ReadOnly"))
        GEditor->SetReadOnly(reg.ReadInteger("ReadOnly") == 1);
    if (has("AllEncBut") && reg.ReadInteger("AllEncBut") == 0)
        mAllBClick();
    if (has("ParBut") && reg.ReadInteger("ParBut") == 0)
        ShowAlignButtons(false);
    if (has("ParNum")) {
        const std::int32_t item = reg.ReadInteger("ParNum");
        if (item >= 0 && item <= 8) {
            NumKind = NumberingItems[item].first;
            NumStyle = NumberingItems[item].second;
        }
    }
    if (has("UnderLine")) {
        const std::int32_t item = reg.ReadInteger("UnderLine");
        if (item >= 0 && item <= 6)
            UnderKind = UnderlineItems[item];
    }
    if (has("Wrap")) {
        const bool wrap = reg.ReadInteger("Wrap") == 1;
        GEditor->SetWordWrap(wrap);
        sbWrap->setChecked(wrap);
        HintWrap();
    }
    if (has("Ole"))
        GEditor->SetAllowObjects(reg.ReadBool("Ole"));
    if (has("AutoUrl"))
        GEditor->SetAutoURLDetect(reg.ReadInteger("AutoUrl") == 1);
    GEditor->ExceptMac = has("ExceptMac") ? reg.ReadInteger("ExceptMac") == 1 : true;

    QRect bounds = geometry();
    if (has("Top"))
        bounds.moveTop(reg.ReadInteger("Top"));
    if (has("Left"))
        bounds.moveLeft(reg.ReadInteger("Left"));
    if (has("Width"))
        bounds.setWidth(reg.ReadInteger("Width"));
    if (has("Height"))
        bounds.setHeight(reg.ReadInteger("Height"));
    setGeometry(bounds);
    const std::int32_t window = has("Window") ? reg.ReadInteger("Window") : 0;
    // Full screen arrives with the screens commands; until then it starts maximized.
    if (window <= 0)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));

    GEditor->SetDosAdd(daUNI);
    if (has("PDos")) {
        const std::int32_t mode = reg.ReadInteger("PDos");
        if (mode >= daNone && mode <= daTBL)
            GEditor->SetDosAdd(static_cast<TDosAdd>(mode));
    }
    GEditor->SetAutoEncoding(has("AutoEnc") ? reg.ReadInteger("AutoEnc") == 1 : true);
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
