// SPDX-License-Identifier: GPL-3.0-or-later
// Saved screens (named looks of the text: font, colours, window state, in five
// slots of the Screens key) and full-screen mode.
#include "view.h"

#include "qlconsts.h"
#include "registrymessages.h"
#include "sysbib.h"

#include <QMenuBar>
#include <QStatusBar>

QString TfmView::StyleToStr(TFontStyles style)
{
    // Strikeout is not kept.
    const auto flag = [&](TFontStyle s) { return style.Contains(s) ? QLatin1Char('1') : QLatin1Char('0'); };
    return QString() + flag(TFontStyle::fsBold) + flag(TFontStyle::fsItalic) + flag(TFontStyle::fsUnderline);
}

void TfmView::FillParamDefault()
{
    Screens[0] = DefaultScreen();
}

void TfmView::SavedScrRead()
{
    for (int n = 1; n <= SavedScreenCount; ++n) {
        Item(QStringLiteral("mmSaved%1").arg(n))->setEnabled(false);
        Item(QStringLiteral("pmSaved%1").arg(n))->setEnabled(false);
    }
    std::array<std::optional<TScreenParams>, SavedScreenCount + 1> stored;
    try {
        stored = ReadSavedScreens();
    } catch (const platform::RegistryError&) {
        // An unreadable store offers no saved screens; it is told where settings
        // are read at start, not at every menu opening.
        return;
    }
    for (int n = 1; n <= SavedScreenCount; ++n) {
        if (!stored[n])
            continue;
        Screens[n] = *stored[n];
        Item(QStringLiteral("mmSaved%1").arg(n))->setEnabled(true);
        Item(QStringLiteral("pmSaved%1").arg(n))->setEnabled(true);
    }
}

void TfmView::SaveScreen(int n)
{
    if (n < 1 || n > SavedScreenCount)
        return;
    try {
        if (SavedScreenExists(n) && ConfirmationBox(Tr(QlConsts::ScreenAlreadySaved)) != MsgButton::Yes)
            return;
        // The control's own font, not the selection's.
        const TFont& font = GEditor->Font();
        TScreenParams screen;
        screen.FontName = font.Name;
        screen.FStyle = StyleToStr(font.Style);
        screen.FColor = font.Color;
        screen.Size = font.Size;
        screen.Charset = font.Charset;
        screen.Color = GEditor->Color();
        screen.Window = (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? 0 : 1;
        WriteSavedScreen(n, screen);
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    }
}

void TfmView::ChangeScreen(int n)
{
    if (n < 0 || n > SavedScreenCount)
        return;
    const TScreenParams screen = Screens[n];
    ShowRichEdit(false);
    const std::int32_t start = GEditor->SelStart();
    const std::int32_t length = GEditor->SelLength();
    const bool modified = GEditor->Modified();
    TextReady = false;

    TFont font = GEditor->Font();
    font.Name = screen.FontName;
    font.Style = StrToStyle(screen.FStyle);
    font.Color = screen.FColor;
    font.Size = screen.Size;
    font.Charset = static_cast<TFontCharset>(screen.Charset & 0xFF);
    GEditor->SelectAll();
    TTextAttributes* selection = GEditor->SelAttributes();
    selection->SetName(font.Name);
    selection->SetStyle(font.Style);
    selection->SetColor(font.Color);
    selection->SetSize(font.Size);
    selection->SetCharset(font.Charset);
    GEditor->SetFont(font);
    GEditor->SetColor(screen.Color);

    // Full screen covers the desktop whatever the look says; the window state it
    // stored applies once full screen is left.
    if (!FullScreen) {
        if (screen.Window == 1)
            setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        else
            setWindowState((windowState() & ~Qt::WindowFullScreen) | Qt::WindowMaximized);
    }

    TextReady = true;
    GEditor->SetModified(modified);
    GEditor->SetSelStart(start);
    GEditor->SetSelLength(length);
    ShowRichEdit(true);
}

void TfmView::SetScreen(bool on)
{
    setUpdatesEnabled(false);
    paTop->setVisible(!on);
    stb->setVisible(!on);
    MainMenu1->setVisible(!on);
    // A hidden menu bar's items take no keys: while it is away the window holds
    // every item that has a shortcut, so each shortcut keeps working.
    for (QAction* action : std::as_const(items)) {
        if (action->shortcuts().isEmpty())
            continue;
        if (on)
            addAction(action);
        else
            removeAction(action);
    }
    if (on)
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowFullScreen);
    else
        setWindowState(windowState() & ~(Qt::WindowFullScreen | Qt::WindowMaximized));
    FullScreen = on;
    setUpdatesEnabled(true);
    update();
}

void TfmView::ESC1Click()
{
    SetScreen(!FullScreen);
}

void TfmView::WireScreenCommands()
{
    for (const char* name : {"meDefault", "N44"})
        connect(Item(QString::fromLatin1(name)), &QAction::triggered, this, [this] { ChangeScreen(0); });
    for (int n = 1; n <= SavedScreenCount; ++n) {
        connect(Item(QStringLiteral("mmSaved%1").arg(n)), &QAction::triggered, this, [this, n] { ChangeScreen(n); });
        connect(Item(QStringLiteral("pmSaved%1").arg(n)), &QAction::triggered, this, [this, n] { ChangeScreen(n); });
    }
    connect(Item(QStringLiteral("ESC1")), &QAction::triggered, this, &TfmView::ESC1Click);
}
