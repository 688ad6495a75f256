// SPDX-License-Identifier: GPL-3.0-or-later
// The lines collection over the control: counting, reading, editing by index,
// setting the whole text with one change event.
#include "qxeditor.h"
#include "richedit.h"
#include "testsupport.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(Lines, CountReadAndEditByIndexFollowTheLineEnds)
{
    TTestEditor editor;
    editor.Lines()->SetTextStr(QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(editor.Window()->GetLineCount(), 3);
    EXPECT_EQ(editor.Lines()->Count(), 2);   // no empty line after a final line end
    editor.SetText(QStringLiteral("a\r"));
    editor.Lines()->Insert(5, QStringLiteral("far"));   // after an empty last line: nothing
    EXPECT_EQ(editor.Lines()->ToStringList(), (QStringList{"a"}));

    const QString longLine(5000, QLatin1Char('x'));   // read whole
    editor.SetText(longLine + QStringLiteral("\rb"));
    EXPECT_EQ(editor.Lines()->Get(0), longLine);
    editor.Lines()->Put(0, QStringLiteral("a"));
    editor.Lines()->Insert(2, QStringLiteral("c"));   // after a last line that is not empty
    editor.Lines()->Insert(0, QStringLiteral("z"));
    editor.Lines()->Put(1, QStringLiteral("AAA"));
    EXPECT_EQ(editor.Lines()->ToStringList(), (QStringList{"z", "AAA", "b", "c"}));
    editor.Lines()->Delete(3);   // the last line: the line end before it stays
    EXPECT_EQ(editor.Window()->GetLineCount(), 4);
    editor.Lines()->Delete(0);
    EXPECT_EQ(editor.Lines()->ToStringList(), (QStringList{"AAA", "b"}));

    // Unknown and negative indexes change nothing.
    editor.Lines()->Put(-1, QStringLiteral("x"));
    editor.Lines()->Delete(17);
    editor.Lines()->Insert(-3, QStringLiteral("x"));
    EXPECT_EQ(editor.Lines()->ToStringList(), (QStringList{"AAA", "b"}));
}

TEST(Lines, SettingTheWholeTextFiresOneChangeAndNoSelectionEvents)
{
    TTestEditor editor;
    editor.show();
    int changes = 0;
    int selectionChanges = 0;
    editor.OnChange = [&](TqxEditor*) { ++changes; };
    editor.OnSelectionChange = [&](TqxEditor*) { ++selectionChanges; };
    editor.Lines()->SetTextStr(QStringLiteral("1\r\n2\n3\r4"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(editor.Lines()->ToStringList(), (QStringList{"1", "2", "3", "4"}));
    EXPECT_NE(editor.Window()->GetEventMask() & platform::ENM_CHANGE, 0u);

    selectionChanges = 0;
    editor.Lines()->AddStrings({QStringLiteral("x"), QStringLiteral("y")});
    EXPECT_EQ(selectionChanges, 0);
    EXPECT_EQ(editor.Lines()->ToStringList(), (QStringList{"1", "2", "3", "4", "x", "y"}));
    editor.SetSelStart(1);   // the handler is back afterwards
    EXPECT_GT(selectionChanges, 0);
}

} // namespace
