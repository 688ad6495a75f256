// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog from the main window: the toolbar button and Options > Save
// open it, created on first use; the window answers what the dialog reads and
// takes what it changes.
#include "view.h"

#include "paragraphkinds.h"
#include "qlconsts.h"
#include "registrylayout.h"
#include "registrymessages.h"
#include "savereg.h"
#include "sysbib.h"
#include "viewsetuphost.h"

#include <QMenu>

namespace {

// The captions of a submenu's items without its last two (the separator and "Apply").
QStringList Captions(const QMenu* menu)
{
    QStringList captions;
    const QList<QAction*> actions = menu->actions();
    for (qsizetype i = 0; i + 2 < actions.size(); ++i)
        captions << actions[i]->text();
    return captions;
}

// The checked item of a submenu, if any.
int CheckedItem(const QMenu* menu)
{
    const QList<QAction*> actions = menu->actions();
    for (qsizetype i = 0; i + 2 < actions.size(); ++i)
        if (actions[i]->isChecked())
            return int(i);
    return -1;
}

class TViewSetupHost : public TSetupHost {
public:
    explicit TViewSetupHost(TfmView& view) : view(view) {}

    QWidget* Window() override { return &view; }

    TSetupFont EditorFont() const override
    {
        const TFont& font = view.GEditor->Font();
        return {font.Name,
                font.Size,
                font.Charset,
                font.Color,
                font.Style.Contains(TFontStyle::fsBold),
                font.Style.Contains(TFontStyle::fsItalic),
                font.Style.Contains(TFontStyle::fsUnderline)};
    }
    std::int32_t EditorColor() const override { return view.GEditor->Color(); }
    bool WindowMaximized() const override { return view.windowState() & Qt::WindowMaximized; }
    bool PanelsHidden() const override { return view.FullScreen; }
    int CurEncoding() const override { return view.CurEncoding; }
    int IndentStep() const override { return view.IndentStep; }
    bool AllEncodingButtonsShown() const override { return !view.sbKoi->isHidden(); }
    bool ParagraphButtonsShown() const override { return !view.sbLeft->isHidden(); }
    bool WrapDown() const override { return view.sbWrap->isChecked(); }

    QStringList NumberingCaptions() const override { return Captions(view.Menu(QStringLiteral("N50"))); }
    int NumberingIndex() const override
    {
        const int checked = CheckedItem(view.Menu(QStringLiteral("N50")));
        if (checked >= 0)
            return checked;
        // Until the submenu marks its items, the window's own kind and style say it.
        for (std::size_t i = 0; i < std::size(NumberingItems); ++i)
            if (NumberingItems[i] == std::pair(view.NumKind, view.NumStyle))
                return int(i);
        return 0;
    }
    QStringList UnderlineCaptions() const override { return Captions(view.Menu(QStringLiteral("N60"))); }
    int UnderlineIndex() const override
    {
        const int checked = CheckedItem(view.Menu(QStringLiteral("N60")));
        if (checked >= 0)
            return checked;
        for (std::size_t i = 0; i < std::size(UnderlineItems); ++i)
            if (UnderlineItems[i] == view.UnderKind)
                return int(i);
        return 0;
    }

    bool ReadOnly() const override { return view.GEditor->ReadOnly(); }
    bool AutoURLDetect() const override { return view.GEditor->AutoURLDetect(); }
    bool ExceptMac() const override { return view.GEditor->ExceptMac; }
    bool AllowObjects() const override { return view.GEditor->AllowObjects(); }
    bool AutoEncoding() const override { return view.GEditor->AutoEncoding(); }
    int DosAdd() const override { return int(view.GEditor->DosAdd()); }
    bool JournalOn() const override { return view.JournalOn; }
    int JournalDelayMs() const override { return view.JournalDelayMs; }

    void TakeDefaultFont() override { view.DefFont = view.GEditor->Font(); }
    void SetReadOnly(bool on) override { view.GEditor->SetReadOnly(on); }
    void SetAutoEncoding(bool on) override { view.GEditor->SetAutoEncoding(on); }
    void SetAutoURLDetect(bool on) override { view.GEditor->SetAutoURLDetect(on); }
    void SetExceptMac(bool on) override { view.GEditor->ExceptMac = on; }
    void SetDosAdd(int mode) override
    {
        if (mode >= daNone && mode <= daTBL)
            view.GEditor->SetDosAdd(static_cast<TDosAdd>(mode));
    }

    void SetJournal(bool on, int delayMs) override { view.SetJournal(on, delayMs); }

    void PageSetup() override { view.mPageClick(); }

    void CloseAllWindows() override
    {
        view.N30Click();
        if (view.isVisible())
            return;
        // Closing wrote this window's bounds and recent files again; the user
        // has just asked for none of the program's data to remain.
        try {
            DeleteProgramKeys();
        } catch (const platform::RegistryError& error) {
            ReportRegistryError(error);
        }
    }

private:
    TfmView& view;
};

} // namespace

std::unique_ptr<TSetupHost> MakeSetupHost(TfmView& view)
{
    return std::make_unique<TViewSetupHost>(view);
}

void TfmView::WireSetupCommands()
{
    connect(sbNastr, &QToolButton::clicked, this, &TfmView::sbNastrClick);
    connect(Item(QStringLiteral("N29")), &QAction::triggered, this, &TfmView::sbNastrClick);
    sbNastr->setEnabled(true);
    Item(QStringLiteral("N29"))->setEnabled(true);
}

void TfmView::SetupOk()
{
    if (!SetupForm)
        SetupForm = new TfmSetup(MakeSetupHost(*this), this);
}

void TfmView::sbNastrClick()
{
    SetupOk();
    SetupForm->Execute();
}
