// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's objects as a user meets them: the Insert Object dialog (embed,
// link, as icon, create new, Cancel, missing and unreadable files, objects off),
// the properties dialog and its link page, Open with changes flowing back, the
// verbs in the context menu, and paste as object.
#include "editorerrors.h"
#include "filenames.h"
#include "objectfiles.h"
#include "qxeditor.h"
#include "richedit.h"
#include "scriptedprompter.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace platform;

QByteArray Png(int w, int h, QColor color = Qt::red)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TBytes Bytes(const QByteArray& b)
{
    return TBytes(b.begin(), b.end());
}

InsertObjectAnswer FromFile(const QString& path, bool link = false, bool asIcon = false)
{
    return {.fileName = path, .link = link, .asIcon = asIcon};
}

// Opening records what it was asked instead of starting a program.
struct TOpenLog { QStringList paths; QStringList types; OpenFileResult result = OpenFileResult::Opened; };

class EditorObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor.SetText(QStringLiteral("Письмо: "));
        editor.SetModified(false);
        editor.Window()->SetSel(8, 8);
        editor.ObjectOpener = [this](const QString& path, const QString& type) {
            opened.paths << path;
            opened.types << type;
            return opened.result;
        };
    }
    void TearDown() override { EXPECT_TRUE(prompter.Problems().isEmpty()) << prompter.Problems().join(u'\n').toStdString(); }

    std::optional<EmbeddedObject> Selected()
    {
        const std::int32_t pos = editor.Window()->SelectedObject();
        return pos < 0 ? std::nullopt : editor.Window()->ObjectAt(pos);
    }

    TTestDir dir;
    TTestEditor editor;
    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};
    TOpenLog opened;
};

TEST_F(EditorObjects, InsertEmbedsPicturesAsContentOtherFilesAsIconsAndLinksByPath)
{
    const QString picture = dir.Write(QStringLiteral("photo.png"), Bytes(Png(20, 10)));
    const QString text = dir.Write(QStringLiteral(u"заметки.txt"), Latin1("notes"));

    prompter.AnswerInsertObject(FromFile(picture));
    ASSERT_TRUE(editor.InsertObjectDialog());
    std::optional<EmbeddedObject> object = Selected();
    ASSERT_TRUE(object.has_value()) << "the object is selected after insertion";
    EXPECT_TRUE(!object->asIcon && ShowsPicture(*object));
    EXPECT_EQ(object->name, QStringLiteral("photo.png"));
    EXPECT_TRUE(editor.Modified());

    editor.Window()->SetSel(editor.Window()->GetTextLength(), editor.Window()->GetTextLength());
    prompter.AnswerInsertObject(FromFile(text));
    ASSERT_TRUE(editor.InsertObjectDialog());
    object = Selected();
    ASSERT_TRUE(object.has_value());
    EXPECT_TRUE(object->asIcon) << "a file that is no picture shows as its icon";
    EXPECT_EQ(object->data, QByteArray("notes"));
    EXPECT_EQ(object->mimeType, QStringLiteral("text/plain"));

    editor.Window()->SetSel(0, 0);
    prompter.AnswerInsertObject(FromFile(picture, true, true));
    ASSERT_TRUE(editor.InsertObjectDialog());
    object = Selected();
    ASSERT_TRUE(object.has_value());
    EXPECT_TRUE(object->link && object->asIcon);
    EXPECT_EQ(FileNameFromBytes(object->source), picture);
    EXPECT_EQ(editor.Window()->ObjectPositions().size(), 3u);
}

TEST_F(EditorObjects, CancelMissingAndUnreadableFilesAndObjectsOffChangeNothing)
{
    const QString before = editor.Text();
    prompter.AnswerInsertObject(std::nullopt);
    EXPECT_FALSE(editor.InsertObjectDialog());

    prompter.AnswerInsertObject(FromFile(dir.Path(QStringLiteral("gone.png"))));
    prompter.AnswerMessage(MsgButton::Ok);
    EXPECT_FALSE(editor.InsertObjectDialog());
    EXPECT_EQ(prompter.Asked().back().text, QStringLiteral("Can not find the file: ") + dir.Path(QStringLiteral("gone.png")));

    // A folder cannot be embedded; nor can a file without read permission (root reads it).
    const QString locked = dir.Write(QStringLiteral("locked.bin"), Latin1("secret"));
    ::chmod(QFile::encodeName(locked).constData(), 0);
    QStringList unreadables{dir.Path(QString())};
    if (::geteuid() != 0)
        unreadables << locked;
    for (const QString& unreadable : unreadables) {
        prompter.AnswerInsertObject(FromFile(unreadable, unreadable == locked));
        prompter.AnswerMessage(MsgButton::Ok);
        EXPECT_FALSE(editor.InsertObjectDialog());
        EXPECT_TRUE(prompter.Asked().back().text.startsWith(QStringLiteral("Can not read the file: ")));
    }
    EXPECT_EQ(editor.Text(), before);
    EXPECT_FALSE(editor.Modified());

    editor.SetAllowObjects(false);
    const std::size_t asked = prompter.Asked().size();
    prompter.AnswerMessage(MsgButton::Ok);
    EXPECT_FALSE(editor.InsertObjectDialog());
    ASSERT_EQ(prompter.Asked().size(), asked + 1) << "refused before any dialog";
    EXPECT_TRUE(prompter.Asked().back().text.contains(QStringLiteral("OLE objects support")));
    QApplication::clipboard()->setImage(QImage::fromData(Png(4, 4)));
    prompter.AnswerMessage(MsgButton::Ok);
    EXPECT_FALSE(editor.PasteAsObject());
    EXPECT_EQ(editor.Text(), before);
    EXPECT_FALSE(editor.HasCurrentObject());
}

TEST_F(EditorObjects, CreateNewMakesABlankObjectAndOpensIt)
{
    InsertObjectAnswer picture{.createNew = true, .newKind = 0, .fileName = {}};
    prompter.AnswerInsertObject(picture);
    ASSERT_TRUE(editor.InsertObjectDialog());
    const std::optional<EmbeddedObject> object = Selected();
    ASSERT_TRUE(object.has_value());
    EXPECT_EQ(QImage::fromData(object->data).size(), QSize(320, 240));
    ASSERT_EQ(opened.paths.size(), 1);
    EXPECT_EQ(opened.types.front(), QStringLiteral("image/png"));
    EXPECT_TRUE(opened.paths.front().endsWith(QStringLiteral("/Picture.png")));
    QFile copy(opened.paths.front());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), object->data);
    EXPECT_EQ(QFileInfo(copy).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions{});

    picture.newKind = 1;   // a text: shown as its icon
    prompter.AnswerInsertObject(picture);
    ASSERT_TRUE(editor.InsertObjectDialog());
    EXPECT_TRUE(Selected()->asIcon);
    EXPECT_EQ(opened.types.back(), QStringLiteral("text/plain"));
}

TEST_F(EditorObjects, ChangesSavedInAnOpenedCopyFlowBackAndAMissingProgramIsSaid)
{
    const QString file = dir.Write(QStringLiteral("data.txt"), Latin1("first"));
    prompter.AnswerInsertObject(FromFile(file));
    ASSERT_TRUE(editor.InsertObjectDialog());
    editor.SetModified(false);
    const std::int32_t pos = editor.Window()->SelectedObject();
    // Text typed before the object moves it; the opened copy still finds it.
    ASSERT_TRUE(editor.DoVerb(0));
    ASSERT_EQ(opened.paths.size(), 1);
    EXPECT_NE(opened.paths.front(), file) << "an embedded object opens as a copy";
    editor.Window()->SetSel(0, 0);
    editor.Window()->ReplaceSel(QStringLiteral(">>"), true);

    editor.CheckOpenedObjects();
    EXPECT_EQ(editor.Window()->ObjectAt(pos + 2)->data, QByteArray("first")) << "nothing changed yet";
    WriteBytes(opened.paths.front(), Latin1("second, longer"));
    editor.CheckOpenedObjects();
    EXPECT_EQ(editor.Window()->ObjectAt(pos + 2)->data, QByteArray("second, longer"));
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(ReadBytes(file), Latin1("first")) << "the original file is not touched";
    editor.Undo();
    EXPECT_EQ(editor.Window()->ObjectAt(pos + 2)->data, QByteArray("first"));

    opened.result = OpenFileResult::NoHandler;
    editor.Window()->SetSel(pos + 2, pos + 3);
    prompter.AnswerMessage(MsgButton::Ok);
    EXPECT_FALSE(editor.DoVerb(0));
    EXPECT_TRUE(prompter.Asked().back().text.startsWith(QStringLiteral("There is no program to open objects of this type")));
    EXPECT_FALSE(QFile::exists(opened.paths.back())) << "the copy made for it is gone again";
}

TEST_F(EditorObjects, PropertiesReportTheTypeAndTheLinkPageRefusesAnEmptySourceAndBreakLink)
{
    const QString picture = dir.Write(QStringLiteral("plan.png"), Bytes(Png(16, 16)));
    const QString other = dir.Write(QStringLiteral("other.png"), Bytes(Png(8, 8, Qt::blue)));
    prompter.AnswerInsertObject(FromFile(picture, true));
    ASSERT_TRUE(editor.InsertObjectDialog());
    editor.SetModified(false);

    ObjectPropertiesScript script;
    script.presses = {{LinkButton::ChangeSource, QStringLiteral("  ")}, {LinkButton::BreakLink, {}}};
    prompter.AnswerObjectProperties(script);   // then Cancel
    prompter.AnswerMessage(MsgButton::Ok).AnswerMessage(MsgButton::Ok);
    EXPECT_FALSE(editor.ObjectPropertiesDialog());
    const ObjectPropertiesRequest& asked = prompter.LastObjectProperties();
    EXPECT_EQ(std::tuple(asked.typeName, asked.isLink, asked.source, asked.canShowContent),
              std::tuple(ObjectTypeName(*Selected()), true, picture, true));
    const std::vector<PromptRecord>& records = prompter.Asked();
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records[records.size() - 2].text, QStringLiteral("Cannot link to an invalid source."));
    EXPECT_EQ(records.back().text, QStringLiteral("Break link operation is not supported."));
    EXPECT_EQ(FileNameFromBytes(Selected()->source), picture);
    EXPECT_FALSE(editor.Modified()) << "a refused source and Cancel change nothing";

    // A new source, then the view switched to an icon.
    script.presses = {{LinkButton::ChangeSource, other}};
    script.answer = ObjectPropertiesAnswer{true};
    prompter.AnswerObjectProperties(script);
    EXPECT_TRUE(editor.ObjectPropertiesDialog());
    ASSERT_TRUE(Selected().has_value()) << "the object stays selected";
    EXPECT_TRUE(FileNameFromBytes(Selected()->source) == other && Selected()->asIcon);
    EXPECT_TRUE(editor.Modified());

    // An embedded file that is no picture cannot be shown as content.
    editor.Window()->SetSel(0, 0);
    prompter.AnswerInsertObject(FromFile(dir.Write(QStringLiteral("a.bin"), Latin1("\x01\x02"))));
    ASSERT_TRUE(editor.InsertObjectDialog());
    prompter.AnswerObjectProperties({{}, ObjectPropertiesAnswer{false}});
    EXPECT_TRUE(editor.ObjectPropertiesDialog());
    EXPECT_FALSE(prompter.LastObjectProperties().canShowContent);
    EXPECT_TRUE(Selected()->asIcon);
    EXPECT_EQ(prompter.LastObjectProperties().size, QStringLiteral("2 bytes"));
}

TEST_F(EditorObjects, TheContextMenuGainsVerbsAndPropertiesOnlyForOneSelectedObject)
{
    QMenu popup;
    popup.addAction(QStringLiteral("Select all"));
    editor.SetPopupMenu(&popup);
    prompter.AnswerInsertObject(FromFile(dir.Write(QStringLiteral("n.txt"), Latin1("n"))));
    ASSERT_TRUE(editor.InsertObjectDialog());
    const QString type = ObjectTypeName(*Selected());

    QMenu* menu = editor.ObjectPopupMenu();
    ASSERT_EQ(menu, &popup);
    QStringList captions;
    for (QAction* item : popup.actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Select all"), QStringLiteral("-"), type + QStringLiteral(" Properties"), type}));
    QMenu* verbs = popup.actions().back()->menu();
    ASSERT_NE(verbs, nullptr);
    ASSERT_EQ(verbs->actions().size(), 1);
    EXPECT_EQ(verbs->defaultAction(), verbs->actions().front());
    verbs->actions().front()->trigger();
    EXPECT_EQ(opened.paths.size(), 1);

    // Asked again with a text selection: the verbs of the last time are gone.
    editor.Window()->SetSel(0, 3);
    EXPECT_EQ(editor.ObjectPopupMenu(), &popup);
    EXPECT_EQ(popup.actions().size(), 1);

    // Without a menu of its own the verb menu is shown, properties at its top.
    editor.Window()->SetSel(8, 9);
    editor.SetPopupMenu(nullptr);
    menu = editor.ObjectPopupMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions().front()->text(), type + QStringLiteral(" Properties"));
}

TEST_F(EditorObjects, PasteAsObjectTakesFilesAndPicturesAndCopyTakesTheCurrentObject)
{
    const QString a = dir.Write(QStringLiteral("a.txt"), Latin1("AAA"));
    const QString b = dir.Write(QStringLiteral("b.png"), Bytes(Png(6, 6)));
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    QApplication::clipboard()->setMimeData(files);
    ASSERT_TRUE(editor.PasteAsObject());
    ASSERT_EQ(editor.Window()->ObjectPositions(), (std::vector<std::int32_t>{8, 9}));
    EXPECT_EQ(editor.Window()->ObjectAt(8)->data, QByteArray("AAA"));
    EXPECT_TRUE(ShowsPicture(*editor.Window()->ObjectAt(9)));
    editor.Undo();
    EXPECT_TRUE(editor.Window()->ObjectPositions().empty()) << "one paste, one undo step";

    QApplication::clipboard()->setImage(QImage::fromData(Png(5, 3)));
    ASSERT_TRUE(editor.PasteAsObject());
    ASSERT_TRUE(Selected().has_value());
    EXPECT_EQ(QImage::fromData(Selected()->data).size(), QSize(5, 3));

    // With the caret beside the object and nothing selected, copy takes the object.
    const std::int32_t pos = editor.Window()->SelectedObject();
    editor.Window()->SetSel(pos + 1, pos + 1);
    EXPECT_TRUE(editor.HasCurrentObject());
    ASSERT_TRUE(editor.CopyCurrentObject());
    editor.Window()->SetSel(0, 0);
    ASSERT_TRUE(editor.PasteAsObject());
    EXPECT_EQ(editor.Window()->ObjectPositions().size(), 2u);
    EXPECT_TRUE(editor.Window()->ObjectAt(0)->data == editor.Window()->ObjectAt(pos + 1)->data);

    QApplication::clipboard()->clear();
    prompter.AnswerMessage(MsgButton::Ok);
    EXPECT_FALSE(editor.PasteAsObject());
    EXPECT_EQ(prompter.Asked().back().text, QStringLiteral("The clipboard holds nothing that can be pasted as an object."));
}

TEST_F(EditorObjects, FilesAreReadWholeAndLinksOfVanishedSourcesStayAsTheyWere)
{
    QByteArray big(3 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 131 >> 3);
    const QString path = dir.Write(QStringLiteral("big.bin"), Bytes(big));
    EXPECT_TRUE(EmbedFile(path, false).data == big);

    const QString source = dir.Write(QStringLiteral("s.png"), Bytes(Png(9, 9)));
    EmbeddedObject link = LinkFile(source, false);
    ASSERT_TRUE(ShowsPicture(link));
    ASSERT_EQ(::unlink(QFile::encodeName(source).constData()), 0);
    EXPECT_FALSE(ShowsPicture(link));
    const QByteArray before = link.data;
    EXPECT_FALSE(RefreshLink(link));
    EXPECT_EQ(link.data, before);
    EXPECT_THROW(LinkFile(source, false), EFOpenError);
}

TEST_F(EditorObjects, AnObjectThatIsAProgramIsNeverStarted)
{
    const QString script = dir.Write(QStringLiteral("run.sh"), Latin1("#!/bin/sh\ntouch started\n"));
    ::chmod(QFile::encodeName(script).constData(), 0700);
    EXPECT_EQ(OpenLocalFile(script, QStringLiteral("application/x-shellscript")), OpenFileResult::Refused);
    editor.ObjectOpener = OpenLocalFile;
    prompter.AnswerInsertObject(FromFile(script));
    ASSERT_TRUE(editor.InsertObjectDialog());
    prompter.AnswerMessage(MsgButton::Ok);
    EXPECT_FALSE(editor.DoVerb(0));
    EXPECT_TRUE(prompter.Asked().back().text.startsWith(QStringLiteral("The object is a program")));
}

} // namespace
