// SPDX-License-Identifier: GPL-3.0-or-later
// Embedded objects in the control: inserted as one undoable step and selected,
// found next to the caret, changed in place, copied alone, and carried through
// RTF streaming and the clipboard into another control whole.
#include "testsupport.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

QByteArray Png(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

EmbeddedObject FileObject()
{
    EmbeddedObject object;
    object.data = QByteArray("\x00\x01\xfe\xff plain", 10);
    object.name = QStringLiteral(u"данные.bin");
    object.asIcon = true;
    return object;
}

TEST(Objects, InsertReplacesTheSelectionSelectsTheObjectAndUndoesInOneStep)
{
    RichEdit edit;
    edit.SetText(QStringLiteral("one two"));
    edit.EmptyUndoBuffer();
    edit.SetModify(false);
    edit.SetSel(4, 7);
    EmbeddedObject picture;
    picture.data = Png(12, 8);
    ASSERT_TRUE(edit.InsertObject(picture));
    EXPECT_EQ(edit.ExGetSel(), (CHARRANGE{4, 5}));
    EXPECT_EQ(edit.SelectionType(), SEL_OBJECT);
    EXPECT_EQ(edit.SelectedObject(), 4);
    EXPECT_EQ(edit.GetTextLength(), 5);
    EXPECT_TRUE(edit.GetModify());
    ASSERT_TRUE(edit.ObjectAt(4).has_value());
    EXPECT_TRUE(edit.ObjectAt(4)->data == picture.data);
    EXPECT_FALSE(edit.ObjectAt(3).has_value());

    ASSERT_TRUE(edit.Undo());
    EXPECT_EQ(edit.GetTextRange(0, -1), QStringLiteral("one two"));
    EXPECT_FALSE(edit.CanUndo());

    edit.SetReadOnly(true);
    EXPECT_FALSE(edit.InsertObject(picture));
    EXPECT_EQ(edit.GetTextRange(0, -1), QStringLiteral("one two"));
}

TEST(Objects, AClickOnAnObjectSelectsItAndAClickBesideItDoesNot)
{
    RichEdit edit;
    edit.resize(400, 200);
    edit.show();
    edit.SetText(QStringLiteral("ab cd"));
    edit.SetSel(2, 2);
    EmbeddedObject picture;
    picture.data = Png(40, 30);
    ASSERT_TRUE(edit.InsertObject(picture));   // ab<picture> cd
    edit.SetSel(0, 0);
    QTextCursor at(edit.document());
    at.setPosition(2);
    const QRect left = edit.cursorRect(at);
    at.setPosition(3);
    const QRect right = edit.cursorRect(at);
    ASSERT_GT(right.left() - left.left(), 30);

    // Either half of the picture, with either button.
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, QPoint(left.left() + 5, left.center().y()));
    EXPECT_EQ(edit.SelectedObject(), 2);
    edit.SetSel(0, 0);
    QTest::mousePress(edit.viewport(), Qt::RightButton, {}, QPoint(right.left() - 5, left.center().y()));
    EXPECT_EQ(edit.SelectedObject(), 2);
    QTest::mouseRelease(edit.viewport(), Qt::RightButton, {}, QPoint(right.left() - 5, left.center().y()));

    // The letter after it only places the caret.
    edit.SetSel(0, 0);
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, QPoint(right.left() + 10, left.center().y()));
    EXPECT_EQ(edit.SelectedObject(), -1);
    EXPECT_EQ(edit.ExGetSel().cpMin, edit.ExGetSel().cpMax);
}

TEST(Objects, TheCurrentObjectIsNextToTheCaretAndChangesInPlaceUndoably)
{
    RichEdit edit;
    edit.SetText(QStringLiteral("ab"));
    edit.SetSel(1, 1);
    EmbeddedObject picture;
    picture.data = Png(10, 10);
    ASSERT_TRUE(edit.InsertObject(picture));   // a<picture>b
    // The one after the caret, else the one before.
    edit.SetSel(1, 1);
    EXPECT_EQ(edit.CurrentObject(), 1);
    edit.SetSel(2, 2);
    EXPECT_EQ(edit.CurrentObject(), 1);
    edit.SetSel(3, 3);
    EXPECT_EQ(edit.CurrentObject(), -1);
    edit.SetSel(0, 2);
    EXPECT_EQ(edit.CurrentObject(), -1) << "a selection of text and object is no current object";
    EXPECT_EQ(edit.SelectedObject(), -1);
    EXPECT_EQ(edit.ObjectPositions(), std::vector<std::int32_t>{1});

    EmbeddedObject asIcon = *edit.ObjectAt(1);
    asIcon.asIcon = true;
    ASSERT_TRUE(edit.SetObjectAt(1, asIcon));
    EXPECT_TRUE(edit.ObjectAt(1)->asIcon);
    EXPECT_TRUE(edit.ObjectAt(1)->data == picture.data);
    EXPECT_EQ(edit.GetTextLength(), 3);
    ASSERT_TRUE(edit.Undo());
    EXPECT_FALSE(edit.ObjectAt(1)->asIcon);
    EXPECT_FALSE(edit.SetObjectAt(0, asIcon)) << "no object there";
}

TEST(Objects, RtfStreamingAndTheClipboardCarryObjectsWhole)
{
    RichEdit edit;
    edit.SetText(QStringLiteral("start "));
    edit.SetSel(6, 6);
    ASSERT_TRUE(edit.InsertObject(FileObject()));
    const QByteArray rtf = StreamOut(edit, SF_RTF);
    EXPECT_TRUE(rtf.contains("\\objemb"));

    RichEdit other;
    StreamIn(other, SF_RTF, rtf);
    ASSERT_TRUE(other.ObjectAt(6).has_value());
    EXPECT_EQ(*other.ObjectAt(6), *edit.ObjectAt(6));

    // Copied alone with an empty selection, pasted into another control.
    edit.SetSel(7, 7);
    ASSERT_TRUE(edit.CopyObject(edit.CurrentObject()));
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    ASSERT_NE(clip, nullptr);
    EXPECT_TRUE(clip->hasFormat(QStringLiteral("text/rtf")));
    EXPECT_TRUE(clip->data(QStringLiteral("text/rtf")).contains("\\objemb"));
    RichEdit target;
    target.SetText(QStringLiteral("["));
    target.SetSel(1, 1);
    target.Paste();
    ASSERT_TRUE(target.ObjectAt(1).has_value());
    EXPECT_EQ(*target.ObjectAt(1), *edit.ObjectAt(6));

    // A picture goes on the clipboard as a picture too, for programs that take only those.
    edit.SetSel(0, 0);
    EmbeddedObject picture;
    picture.data = Png(7, 5);
    ASSERT_TRUE(edit.InsertObject(picture));
    ASSERT_TRUE(edit.CopyObject(0));
    EXPECT_EQ(qvariant_cast<QImage>(QApplication::clipboard()->mimeData()->imageData()).size(), QSize(7, 5));
    // Other programs (and other windows of ours) get the picture in the RTF too:
    // the copied range carries the pictures its document holds.
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->data(QStringLiteral("text/rtf")).contains("{\\pict\\pngblip"));
}

} // namespace
