// SPDX-License-Identifier: GPL-3.0-or-later
// The component: properties applied to the control without losing the text,
// operations answered without a control, notifications turned into events.
#include "qxeditor.h"
#include "richedit.h"
#include "testsupport.h"

#include <QFile>
#include <QScrollBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace platform;

TEST(Editor, StyleChangesKeepTextModifiedFlagAndOverwrite)
{
    TTestEditor editor;
    editor.SetEncoding(Rtf);
    editor.SetText(QStringLiteral("строка текста"));
    editor.Window()->ExSetSel({0, 6});
    editor.SelAttributes()->SetStyle({TFontStyle::fsBold});
    editor.SetModified(true);
    editor.SetOverwrite(true);

    editor.SetWordWrap(false);
    editor.SetScrollBars(TScrollStyle::ssBoth);
    editor.SetBorderStyle(TBorderStyle::bsNone);
    editor.SetAlignment(TAlignment::taCenter);
    editor.SetHideScrollBars(false);

    EXPECT_EQ(editor.Lines()->Get(0), QStringLiteral("строка текста"));
    EXPECT_TRUE(editor.Modified());
    EXPECT_TRUE(editor.Overwrite());
    editor.Window()->ExSetSel({0, 6});
    EXPECT_TRUE(editor.SelAttributes()->Style().Contains(TFontStyle::fsBold));
    EXPECT_FALSE(editor.Window()->WordWrap());
}

TEST(Editor, AWrappingEditorHasNoHorizontalScrollBar)
{
    TTestEditor editor;
    editor.SetWordWrap(true);
    editor.SetScrollBars(TScrollStyle::ssBoth);
    editor.show();
    EXPECT_EQ(editor.Window()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_NE(editor.Window()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST(Editor, PropertiesSetBeforeTheControlExistsTakeEffectWithIt)
{
    TTestEditor editor;
    editor.SetAutoURLDetect(false);
    editor.SetModified(true);
    editor.SetReadOnly(true);
    EXPECT_FALSE(editor.HandleAllocated());
    EXPECT_FALSE(editor.AutoURLDetect());
    EXPECT_TRUE(editor.Modified());
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(editor.UndoName(), 0);
    EXPECT_TRUE(editor.SelectionType().Empty());

    editor.show();
    ASSERT_TRUE(editor.HandleAllocated());
    EXPECT_FALSE(editor.Window()->GetAutoUrlDetect());
    EXPECT_TRUE(editor.Modified());
    EXPECT_TRUE(editor.Window()->isReadOnly());
}

TEST(Editor, UndoLimitReadsBackWhatTheControlAccepted)
{
    TTestEditor editor;
    editor.Window();
    editor.SetUndoLimit(50);
    RichEdit probe;
    EXPECT_EQ(editor.UndoLimit(), probe.SetUndoLimit(50));
}

TEST(Editor, ClearEmptiesAndResetsModified)
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
    editor.Reset();
    EXPECT_TRUE(editor.IsEmpty());
    EXPECT_FALSE(editor.Modified());
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
    EXPECT_TRUE(editor.SelectionType().Empty() || !editor.SelectionType().Contains(TSelectionTypeItem::stObject));
}

TEST(Editor, SettingTextByProgramFiresChange)
{
    TTestEditor editor;
    int changes = 0;
    editor.OnChange = [&](TqxEditor* sender) {
        EXPECT_EQ(sender, &editor);
        ++changes;
    };
    editor.SetText(QStringLiteral("abc"));
    EXPECT_GE(changes, 1);
}

TEST(Editor, ProtectedTextIsRefusedWithoutAHandler)
{
    TTestEditor editor;
    editor.Window();
    ASSERT_TRUE(editor.Window()->OnProtected);
    EXPECT_FALSE(editor.Window()->OnProtected(0, 3));

    std::int32_t seenStart = -1, seenEnd = -1;
    editor.OnProtectChange = [&](TqxEditor*, std::int32_t start, std::int32_t end, bool& allow) {
        seenStart = start;
        seenEnd = end;
        EXPECT_FALSE(allow);
        allow = true;
    };
    EXPECT_TRUE(editor.Window()->OnProtected(2, 5));
    EXPECT_EQ(seenStart, 2);
    EXPECT_EQ(seenEnd, 5);
}

TEST(Editor, SaveClipboardStartsTrueAndTheHandlerDecides)
{
    TTestEditor editor;
    editor.Window();
    EXPECT_TRUE(editor.Window()->OnSaveClipboard(0, 10));
    editor.OnSaveClipboard = [](TqxEditor*, int, int chars, bool& save) { save = chars < 5; };
    EXPECT_FALSE(editor.Window()->OnSaveClipboard(0, 10));
}

TEST(Editor, ResizeRequestPassesTheRectangle)
{
    TTestEditor editor;
    editor.Window();
    QRect seen;
    editor.OnResizeRequest = [&](TqxEditor*, const QRect& rect) { seen = rect; };
    editor.Window()->OnRequestResize(QRect(1, 2, 300, 40));
    EXPECT_EQ(seen, QRect(1, 2, 300, 40));
}

class Links : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor.SetText(QStringLiteral("see https://example.org/page now"));
        editor.LinkOpener = [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
    }
    void Click(LinkMessage message = LinkMessage::LeftButtonUp)
    {
        ENLINK link;
        link.msg = message;
        link.chrg = {4, 28};
        editor.Window()->OnLink(link);
    }
    TTestEditor editor;
    std::vector<QUrl> opened;
};

TEST_F(Links, APlainClickOpensTheLink)
{
    editor.Window()->ExSetSel({10, 10});
    Click();
    EXPECT_EQ(editor.LinkText, QStringLiteral("https://example.org/page"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.org/page")));
}

TEST_F(Links, AClickInsideAnOverlappingSelectionOpensNothing)
{
    editor.Window()->ExSetSel({0, 6});
    Click();
    EXPECT_TRUE(opened.empty());
    editor.Window()->ExSetSel({28, 31});   // touches the link's end
    Click();
    EXPECT_TRUE(opened.empty());
    editor.Window()->ExSetSel({29, 31});   // beside it
    Click();
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(Links, OnlyTheButtonReleaseOpens)
{
    Click(LinkMessage::MouseMove);
    Click(LinkMessage::LeftButtonDown);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(editor.LinkText, QStringLiteral("https://example.org/page"));
}

TEST(LinkPolicy, OnlyHarmlessLinksAreOpened)
{
    TTestDir dir;
    const QString text = dir.Write(QStringLiteral("notes.txt"), Latin1("hello"));
    const QString program = dir.Write(QStringLiteral("run.sh"), Latin1("#!/bin/sh\necho hi\n"));
    ::chmod(QFile::encodeName(program).constData(), 0755);
    const QString script = dir.Write(QStringLiteral("quiet.sh"), Latin1("#!/bin/sh\necho hi\n"));
    const QString launcher = dir.Write(QStringLiteral("app.desktop"), Latin1("[Desktop Entry]\nType=Application\nExec=xterm\n"));

    struct TCase {
        QString link;
        bool safe;
    };
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
