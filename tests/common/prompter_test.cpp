// SPDX-License-Identifier: GPL-3.0-or-later
// The prompter seam: the scripted prompter answers and records; the Qt prompter
// shows real boxes centred over their owner and maps the buttons back.
#include "prompter.h"
#include "qlconsts.h"
#include "qtprompter.h"
#include "scriptedprompter.h"
#include "sysbib.h"
#include "testapp.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(ScriptedPrompterTest, AnswersInOrderAndRecordsEveryQuestion)
{
    ScriptedPrompter script;
    FileDialogAnswer chosen{{"/tmp/a.txt", "/tmp/b.txt"}, 2};
    script.AnswerMessage(MsgButton::All).AnswerFile(chosen).AnswerInput(QString("md")).AnswerInput(std::nullopt);
    ScopedPrompter installed(script);

    EXPECT_EQ(ConfirmationBox(Tr(QlConsts::TextChangedSaveIt),
                              MsgButton::Yes | MsgButton::No | MsgButton::Cancel | MsgButton::All),
              MsgButton::All);
    FileDialogRequest open{"", "/tmp", "", QlConsts::OpenFilter, 1, true};
    const auto files = CurrentPrompter().OpenFileDialog(open);
    ASSERT_TRUE(files);
    EXPECT_EQ(files->files, chosen.files);
    EXPECT_EQ(files->filterIndex, 2);
    EXPECT_EQ(CurrentPrompter().InputBox(Tr(QlConsts::ExtensionInputCaption), Tr(QlConsts::EnterNewExtension), ""),
              QString("md"));
    EXPECT_EQ(CurrentPrompter().InputBox("c", "p", ""), std::nullopt);

    ASSERT_EQ(script.Asked().size(), 4u);
    const PromptRecord& box = script.Asked()[0];
    EXPECT_EQ(box.msgKind, MsgKind::Confirmation);
    EXPECT_EQ(box.buttons, MsgButton::Yes | MsgButton::No | MsgButton::Cancel | MsgButton::All);
    EXPECT_TRUE(script.Asked()[1].request.multiSelect);
    EXPECT_TRUE(script.Problems().isEmpty());
    EXPECT_EQ(script.Pending(), 0u);
}

TEST(ScriptedPrompterTest, UnscriptedQuestionsAreCancelledAndNotedAndTheStandardOneComesBack)
{
    Prompter* standard = &CurrentPrompter();
    EXPECT_EQ(standard, &StandardPrompter());
    {
        ScriptedPrompter script, inner;
        ScopedPrompter installed(script);
        {
            ScopedPrompter nested(inner);
            EXPECT_EQ(&CurrentPrompter(), &inner);
        }
        EXPECT_EQ(ErrorBox("Can not find the file: /x"), MsgButton::None);
        script.AnswerMessage(MsgButton::Yes);
        EXPECT_EQ(CurrentPrompter().SaveFileDialog({}), std::nullopt); // a message answer does not fit
        EXPECT_EQ(CurrentPrompter().Message(MsgKind::Information, "", "ok only", MsgButton::Ok), MsgButton::Yes);
        EXPECT_EQ(script.Problems().size(), 3);
        EXPECT_EQ(script.Asked()[0].caption, QString("Error"));
    }
    EXPECT_EQ(&CurrentPrompter(), standard);
}

TEST(PrompterTest, ClassicFiltersBecomeQtNameFilters)
{
    EXPECT_EQ(ToQtNameFilters(QlConsts::OpenFilter),
              (QStringList{"All files (*.*) (*)", "Text file (*.txt) (*.txt)", "Text file in RTF format (*.rtf) (*.rtf)"}));
    const QStringList save = ToQtNameFilters(QlConsts::SaveFilter);
    ASSERT_EQ(save.size(), 8);
    EXPECT_EQ(save[0], "Text file (MS-DOS) (*)");
    EXPECT_EQ(save[6], "Text in RTF format (*.rtf)");
    EXPECT_EQ(save[7], "Text file (UTF-8) (*)");
    EXPECT_EQ(ToQtNameFilters("Texts|*.txt;*.log"), QStringList{"Texts (*.txt *.log)"});
}

// Runs an action on the modal dialog of type D once it shows.
template <typename D, typename Action>
void WhenShown(Action action)
{
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible())
            action(dialog);
        else
            WhenShown<D>(action);
    });
}

TEST(QtPrompterTest, BoxIsCentredOverTheOwnerAndAnswersTheClickedButton)
{
    TestApp();
    QWidget owner;
    owner.show();
    QtPrompter prompter;
    prompter.SetOwner(&owner);
    const QRect screen = owner.screen()->geometry();

    // The second owner hangs over the screen's bottom-right corner: the box must be
    // pulled back inside.
    const std::tuple<QString, MsgButton, QRect> clicks[] = {
        {"All", MsgButton::All, QRect(40, 60, 500, 300)},
        {"No", MsgButton::No, QRect(screen.right() - 100, screen.bottom() - 80, 500, 300)},
        {"Cancel", MsgButton::Cancel, QRect(41, 61, 501, 301)}};
    for (const auto& [text, expected, ownerRect] : clicks) {
        SCOPED_TRACE(text.toStdString());
        owner.setGeometry(ownerRect);
        QRect shown;
        QString title;
        WhenShown<QMessageBox>([&, text = text](QMessageBox* box) {
            shown = box->frameGeometry();
            title = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                if (b->text().remove(u'&') == text)
                    b->click();
        });
        const MsgButton answer = prompter.Message(MsgKind::Confirmation, "Confirm", "Save it?",
                                                  MsgButton::Yes | MsgButton::No | MsgButton::Cancel | MsgButton::All);
        EXPECT_EQ(answer, expected);
        EXPECT_EQ(title, QString("Confirm"));
        EXPECT_EQ(shown.topLeft(), CenteredBoxPos(owner.frameGeometry(), shown.size(), screen));
        EXPECT_TRUE(screen.contains(shown));
    }
}

TEST(QtPrompterTest, InputBoxAnswersTheTextOrNothing)
{
    TestApp();
    QtPrompter prompter;
    WhenShown<QInputDialog>([](QInputDialog* d) {
        EXPECT_EQ(d->labelText(), QString("Enter a new extension"));
        d->setTextValue("md");
        d->accept();
    });
    EXPECT_EQ(prompter.InputBox("Extension input", "Enter a new extension", ""), QString("md"));
    WhenShown<QInputDialog>([](QInputDialog* d) { d->reject(); });
    EXPECT_EQ(prompter.InputBox("Extension input", "Enter a new extension", "x"), std::nullopt);
}

TEST(QtPrompterTest, SaveDialogStartsOnTheGivenFilterAndAnswersTheChosenOne)
{
    TestApp();
    QTemporaryDir dir;
    QtPrompter prompter;
    WhenShown<QFileDialog>([](QFileDialog* d) {
        EXPECT_EQ(d->selectedNameFilter(), QString("Text file (KOI-8R) (*)"));
        d->selectNameFilter("Text in RTF format (*.rtf)");
        d->selectFile("out.rtf");
        static_cast<QDialog*>(d)->accept(); // QFileDialog hides its override

    });
    FileDialogRequest request{"Save as", dir.path(), "", QlConsts::SaveFilter, 3, false};
    const auto answer = prompter.SaveFileDialog(request);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->filterIndex, 7);
    ASSERT_EQ(answer->files.size(), 1);
    EXPECT_EQ(ExtractFileName(answer->files[0]), QString("out.rtf"));
}

TEST(QtPrompterTest, RecoveryListDiscardsAndRecoversTheSelectedText)
{
    TestApp();
    QtPrompter prompter;
    RecoveryListRequest request;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        request.entries.push_back({name, "today", "3 characters", QString(name) + " first line"});
    std::vector<int> discarded;
    // The journal of c.txt cannot be removed: it stays listed.
    request.discard = [&discarded](int index) {
        discarded.push_back(index);
        return index != 2;
    };
    const auto select = [](QDialog* d, int row) {
        auto* list = d->findChild<QTreeWidget*>("entries");
        list->setCurrentItem(list->topLevelItem(row));
    };
    const auto press = [](QDialog* d, const char* button) { d->findChild<QPushButton*>(button)->click(); };
    WhenShown<QDialog>([&](QDialog* d) {
        auto* list = d->findChild<QTreeWidget*>("entries");
        auto* preview = d->findChild<QPlainTextEdit*>("preview");
        ASSERT_EQ(list->topLevelItemCount(), 3);
        EXPECT_EQ(preview->toPlainText(), QString("a.txt first line"));
        select(d, 1);
        EXPECT_EQ(preview->toPlainText(), QString("b.txt first line"));
        press(d, "discard");
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->currentItem()->text(0), QString("c.txt"));
        EXPECT_EQ(preview->toPlainText(), QString("c.txt first line"));
        press(d, "discard");
        EXPECT_EQ(list->topLevelItemCount(), 2);
        press(d, "recover");
    });
    const std::optional<RecoveryListAnswer> recovered = prompter.RecoveryListDialog(request);
    ASSERT_TRUE(recovered);
    EXPECT_EQ(recovered->recover, 2);
    EXPECT_EQ(discarded, (std::vector<int>{1, 2}));

    // Later answers nothing; so does discarding everything, which closes the window.
    WhenShown<QDialog>([&](QDialog* d) { press(d, "later"); });
    EXPECT_FALSE(prompter.RecoveryListDialog(request));
    request.discard = [](int) { return true; };
    WhenShown<QDialog>([&](QDialog* d) {
        for (int i = 0; i < 3 && d->isVisible(); ++i)
            press(d, "discard");
    });
    EXPECT_FALSE(prompter.RecoveryListDialog(request));
}

} // namespace
