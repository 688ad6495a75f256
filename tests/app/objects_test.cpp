// SPDX-License-Identifier: GPL-3.0-or-later
// Objects through the real window: inserted from the Edit menu, saved as RTF and
// opened again whole, or as plain text only once the user agreed to lose them;
// the menus and keys when objects are switched off; copy of the object beside
// the caret.
#include "testsupport.h"

#include "embeddedobject.h"
#include "qlconsts.h"
#include "richedit.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QTest>

namespace {

using platform::EmbeddedObject;

QByteArray Png(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

InsertObjectAnswer FromFile(const QString& path, bool asIcon)
{
    InsertObjectAnswer answer;
    answer.fileName = path;
    answer.asIcon = asIcon;
    return answer;
}

std::vector<EmbeddedObject> Objects(TfmView& w)
{
    std::vector<EmbeddedObject> objects;
    for (const std::int32_t pos : w.GEditor->Window()->ObjectPositions())
        objects.push_back(*w.GEditor->Window()->ObjectAt(pos));
    return objects;
}

TEST_F(ViewTest, InsertedPictureAndFileSurviveSavingAsRtfAndOpeningAgain)
{
    const QByteArray picture = Png(24, 16);
    const QString pictureFile = MakeFile(QStringLiteral("plan.png"), picture);
    const QString otherFile = MakeFile(QStringLiteral(u"смета.dat"), QByteArray("\x00\x10\xff\r\n data", 10));
    TfmView& w = Start();
    w.GEditor->SetText(QStringLiteral(u"План и смета: "));
    w.GEditor->Window()->SetSel(14, 14);
    prompter.AnswerInsertObject(FromFile(pictureFile, false));
    w.Item(QStringLiteral("insob"))->trigger();
    w.GEditor->Window()->SetSel(15, 15);
    prompter.AnswerInsertObject(FromFile(otherFile, true));
    w.Item(QStringLiteral("insob1"))->trigger();
    ASSERT_EQ(Objects(w).size(), 2u);
    EXPECT_TRUE(w.GEditor->Modified());

    const QString saved = Path(QStringLiteral("objects.rtf"));
    FileDialogAnswer target;
    target.files = {saved};
    target.filterIndex = 7;
    prompter.AnswerFile(target);
    w.N12Click();
    ASSERT_TRUE(ReadFile(saved).startsWith("{\\rtf"));
    Discard();

    TfmView& again = Start({saved});
    const std::vector<EmbeddedObject> objects = Objects(again);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_TRUE(objects[0].data == picture);
    EXPECT_FALSE(objects[0].asIcon);
    EXPECT_TRUE(objects[1].data == QByteArray("\x00\x10\xff\r\n data", 10));
    EXPECT_TRUE(objects[1].asIcon);
    EXPECT_EQ(objects[1].name, QStringLiteral(u"смета.dat"));
    EXPECT_TRUE(prompter.Problems().isEmpty()) << prompter.Problems().join(u'\n').toStdString();
}

TEST_F(ViewTest, SavingObjectsAsPlainTextAsksFirstAndCancelKeepsTextAndFile)
{
    const QString file = MakeFile(QStringLiteral("plan.txt"), QByteArray("old\r\n"));
    const QString picture = MakeFile(QStringLiteral("plan.png"), Png(12, 8));
    TfmView& w = Start({file});
    w.GEditor->SetText(QStringLiteral("A B"));
    w.GEditor->Window()->SetSel(2, 2);
    prompter.AnswerInsertObject(FromFile(picture, false));
    w.Item(QStringLiteral("insob"))->trigger();
    ASSERT_EQ(Objects(w).size(), 1u);
    const QString warning = Tr(QlConsts::ObjectsWillBeLost);
    FileDialogAnswer asText;
    asText.files = {Path(QStringLiteral("other.txt"))};
    asText.filterIndex = 2;

    // Ctrl+S and Save as, both refused: nothing written, nothing lost.
    prompter.AnswerMessage(MsgButton::Cancel);
    w.N19Click();
    prompter.AnswerFile(asText).AnswerMessage(MsgButton::Cancel);
    w.N12Click();
    EXPECT_EQ(Messages(), (QStringList{warning, warning}));
    EXPECT_EQ(ReadFile(file), QByteArray("old\r\n"));
    EXPECT_FALSE(QFile::exists(asText.files[0]));
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_EQ(Objects(w).size(), 1u);
    EXPECT_EQ(w.CurFileName, file);

    // Agreed to: the object's place is marked, as any character the code page lacks.
    prompter.AnswerMessage(MsgButton::Ok);
    w.N19Click();
    EXPECT_EQ(ReadFile(file), QByteArray("A ?B"));
    EXPECT_FALSE(w.GEditor->Modified());

    // As RTF nothing is lost and nothing asked.
    FileDialogAnswer asRtf;
    asRtf.files = {Path(QStringLiteral("plan.rtf"))};
    asRtf.filterIndex = 7;
    prompter.AnswerFile(asRtf);
    w.N12Click();
    EXPECT_EQ(Messages().size(), 3);
    EXPECT_TRUE(ReadFile(asRtf.files[0]).contains("\\pngblip"));
    EXPECT_EQ(prompter.Pending(), 0u);
}

TEST_F(ViewTest, WithObjectsOffTheItemsAreDisabledAndTheirKeysSayWhyAndCopyTakesTheObject)
{
    TfmView& w = Start();
    w.GEditor->SetText(QStringLiteral("text"));
    w.GEditor->SetAllowObjects(false);
    emit w.Menu(QStringLiteral("N14"))->aboutToShow();
    EXPECT_FALSE(w.Item(QStringLiteral("insob"))->isEnabled());
    emit w.PopupMenu1->aboutToShow();
    EXPECT_FALSE(w.Item(QStringLiteral("insob1"))->isEnabled());

    prompter.AnswerMessage(MsgButton::Ok).AnswerMessage(MsgButton::Ok);
    QTest::keyClick(w.GEditor->Window(), Qt::Key_I, Qt::ControlModifier);
    QApplication::clipboard()->setImage(QImage::fromData(Png(3, 3)));
    QTest::keyClick(w.GEditor->Window(), Qt::Key_V, Qt::ControlModifier | Qt::AltModifier);
    const QStringList messages = Messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("OLE objects support")));
    EXPECT_EQ(messages[1], messages[0]);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("text"));

    w.GEditor->SetAllowObjects(true);
    emit w.Menu(QStringLiteral("N14"))->aboutToShow();
    EXPECT_TRUE(w.Item(QStringLiteral("insob"))->isEnabled());
    EXPECT_TRUE(w.Item(QStringLiteral("mInsF"))->isEnabled()) << "a picture on the clipboard can be pasted as an object";

    // Copy in the context menu takes the object beside the caret.
    w.GEditor->Window()->SetSel(1, 1);
    EmbeddedObject object;
    object.data = Png(5, 5);
    ASSERT_TRUE(w.GEditor->Window()->InsertObject(object));
    w.GEditor->Window()->SetSel(0, 0);
    emit w.PopupMenu1->aboutToShow();
    EXPECT_FALSE(w.Item(QStringLiteral("N2"))->isEnabled());
    w.GEditor->Window()->SetSel(2, 2);
    emit w.PopupMenu1->aboutToShow();
    ASSERT_TRUE(w.Item(QStringLiteral("N2"))->isEnabled());
    QApplication::clipboard()->clear();
    w.Item(QStringLiteral("N2"))->trigger();
    EXPECT_EQ(qvariant_cast<QImage>(QApplication::clipboard()->mimeData()->imageData()).size(), QSize(5, 5));
}

} // namespace
