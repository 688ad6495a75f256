// SPDX-License-Identifier: GPL-3.0-or-later
// The component: properties applied to the control without losing the text,
// operations answered without a control, notifications turned into events.
#include "qxeditor.h"
#include "richedit.h"
#include "testsupport.h"

#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

#include <tuple>

#include <sys/stat.h>

namespace {

using namespace platform;

TEST(Editor, PropertiesSetAnyTimeKeepTheTextItsFormatsAndFlags)
{
    // Set before the control exists, they take effect with it.
    TTestEditor editor;
    editor.SetAutoURLDetect(false);
    editor.SetReadOnly(true);
    editor.SetModified(true);
    EXPECT_FALSE(editor.HandleAllocated());
    EXPECT_FALSE(editor.CanUndo());
    editor.show();
    ASSERT_TRUE(editor.HandleAllocated());
    EXPECT_EQ(std::tuple(editor.Window()->GetAutoUrlDetect(), editor.Window()->isReadOnly(), editor.Modified()),
              std::tuple(false, true, true));

    // Changed on a live control, they lose neither text nor formats nor flags.
    editor.SetReadOnly(false);
    editor.SetEncoding(Rtf);
    editor.SetText(QStringLiteral("строка текста"));
    editor.Window()->ExSetSel({0, 6});
    editor.SelAttributes()->SetStyle({TFontStyle::fsBold});
    editor.SetModified(true);
    editor.SetOverwrite(true);
    editor.SetScrollBars(TScrollStyle::ssBoth);
    editor.SetBorderStyle(TBorderStyle::bsNone);
    editor.SetAlignment(TAlignment::taCenter);
    editor.SetHideScrollBars(false);
    EXPECT_EQ(editor.Lines()->Get(0), QStringLiteral("строка текста"));
    EXPECT_TRUE(editor.Modified() && editor.Overwrite());
    editor.Window()->ExSetSel({0, 6});
    EXPECT_TRUE(editor.SelAttributes()->Style().Contains(TFontStyle::fsBold));

    // A wrapping editor never shows a horizontal scroll bar.
    editor.SetWordWrap(true);
    EXPECT_EQ(editor.Window()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_NE(editor.Window()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST(Editor, ClearEmptiesTheTextAndResetsModified)
{
    TTestEditor editor;
    editor.SetText(QStringLiteral("x"));
    EXPECT_FALSE(editor.IsEmpty());   // one character is text
    editor.SetModified(true);
    editor.Clear();
    EXPECT_TRUE(editor.IsEmpty());
    EXPECT_FALSE(editor.Modified());
    editor.SetText(QStringLiteral("\r"));
    EXPECT_TRUE(editor.IsEmpty());
}

TEST(Editor, SelectionCaretAndSearch)
{
    TTestEditor editor;
    editor.SetText(QStringLiteral("first line\rsecond Line here"));
    editor.SetSelStart(14);
    editor.SetSelLength(4);
    EXPECT_EQ(editor.SelText(), QStringLiteral("ond "));
    EXPECT_EQ(editor.CaretPos(), (TCaretPos{1, 3}));
    editor.SetSelText(QStringLiteral("ON"));
    EXPECT_EQ(editor.Lines()->Get(1), QStringLiteral("secONLine here"));

    const std::int32_t end = editor.Window()->GetTextLength();
    EXPECT_EQ(editor.FindText(QStringLiteral("line"), 0, end, {}), 6);
    EXPECT_EQ(editor.FindText(QStringLiteral("Line"), 0, end, {TSearchType::stMatchCase}), 16);
    EXPECT_EQ(editor.FindText(QStringLiteral("line"), end, end, {TSearchType::stBackward}), 16);
    EXPECT_EQ(editor.FindText(QStringLiteral("lin"), 0, end, {TSearchType::stWholeWord}), -1);
}

TEST(Editor, ProtectedTextIsRefusedUnlessAHandlerAllowsIt)
{
    TTestEditor editor;
    editor.Window();
    ASSERT_TRUE(editor.Window()->OnProtected);
    EXPECT_FALSE(editor.Window()->OnProtected(0, 3));
    editor.OnProtectChange = [&](TqxEditor*, std::int32_t start, std::int32_t end, bool& allow) {
        EXPECT_EQ(std::tuple(start, end, allow), std::tuple(2, 5, false));
        allow = true;
    };
    EXPECT_TRUE(editor.Window()->OnProtected(2, 5));

    // The clipboard outlives the program unless a handler says otherwise.
    EXPECT_TRUE(editor.Window()->OnSaveClipboard(0, 10));
    editor.OnSaveClipboard = [](TqxEditor*, int, int chars, bool& save) { save = chars < 5; };
    EXPECT_FALSE(editor.Window()->OnSaveClipboard(0, 10));
}

TEST(Links, OnlyAPlainReleaseOutsideASelectionOpensTheLink)
{
    TTestEditor editor;
    std::vector<QUrl> opened;
    editor.SetText(QStringLiteral("see https://example.org/page now"));
    editor.LinkOpener = [&](const QUrl& url) {
        opened.push_back(url);
        return true;
    };
    auto click = [&](platform::CHARRANGE selection, LinkMessage message = LinkMessage::LeftButtonUp) {
        editor.Window()->ExSetSel(selection);
        ENLINK link;
        link.msg = message;
        link.chrg = {4, 28};
        editor.Window()->OnLink(link);
    };
    click({10, 10}, LinkMessage::MouseMove);
    click({10, 10}, LinkMessage::LeftButtonDown);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(editor.LinkText, QStringLiteral("https://example.org/page"));
    click({0, 6});     // a selection overlapping the link
    click({28, 31});   // touching its end
    EXPECT_TRUE(opened.empty());
    click({29, 31});   // beside it
    click({10, 10});
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("https://example.org/page")));
}

TEST(LinkPolicy, OnlyHarmlessLinksAreOpened)
{
    TTestDir dir;
    const QString text = dir.Write(QStringLiteral("notes.txt"), Latin1("hello"));
    const QString program = dir.Write(QStringLiteral("run.sh"), Latin1("#!/bin/sh\necho hi\n"));
    ::chmod(QFile::encodeName(program).constData(), 0755);
    const QString script = dir.Write(QStringLiteral("quiet.sh"), Latin1("#!/bin/sh\necho hi\n"));
    const QString launcher = dir.Write(QStringLiteral("app.desktop"), Latin1("[Desktop Entry]\nType=Application\nExec=xterm\n"));

    struct TCase { QString link; bool safe; };
    const TCase cases[] = {
        {QStringLiteral("http://example.org"), true},
        {QStringLiteral("https://example.org/a?b=c"), true},
        {QStringLiteral("ftp://ftp.example.org/pub"), true},
        {QStringLiteral("mailto:someone@example.org"), true},
        {QStringLiteral("www.example.org"), true},
        {QUrl::fromLocalFile(text).toString(), true},
        {QUrl::fromLocalFile(program).toString(), false},
        {QUrl::fromLocalFile(script).toString(), false},
        {QUrl::fromLocalFile(launcher).toString(), false},
        {QUrl::fromLocalFile(dir.Path(QStringLiteral("missing.txt"))).toString(), false},
        {QUrl::fromLocalFile(dir.Path(QString())).toString(), false},
        {QStringLiteral("file://otherhost/etc/passwd"), false},
        {QStringLiteral("javascript:alert(1)"), false},
        {QStringLiteral("smb://server/share"), false},
        {QStringLiteral("/usr/bin/xterm"), false},
        {QStringLiteral("http://"), false},
        {QString(), false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(IsSafeLink(LinkUrl(c.link)), c.safe) << c.link.toStdString();
}

} // namespace
