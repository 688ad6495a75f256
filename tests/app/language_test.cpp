// SPDX-License-Identifier: GPL-3.0-or-later
// The Language menu and the Russian interface: the menu built from the language
// files beside the real executable, the override stored under its path, the
// message, and the next start in Russian, in this process and in a real copy.
#include "testsupport.h"
#include "testsupport_copies.h"

#include "languagefiles.h"
#include "filenames.h"
#include "languageoverride.h"
#include "qlconsts.h"
#include "registry.h"
#include "registrylayout.h"
#include "shell.h"

#include <QFile>
#include <QMenu>

namespace {

const QString Russian = QString::fromUtf8("Русский");

QAction* LanguageItem(TfmView& w, const QString& code)
{
    for (QAction* item : w.Menu(QStringLiteral("meLang"))->actions())
        if (item->data().toString() == code)
            return item;
    return nullptr;
}

TEST(LanguageFilesTest, OnlyFilesNamedAfterTheExecutableWithAKnownCodeCount)
{
    const QList<LanguageFile> built = LanguageFiles(QStringLiteral(QUILLET_APP_PATH));
    ASSERT_EQ(built.size(), 1);
    EXPECT_EQ(built[0].Code, QStringLiteral("RU"));
    EXPECT_EQ(built[0].Name, Russian);

    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("quillet"));
    for (const char* name : {"quillet", "quillet.ru", "quillet.DEU", "quillet.zz", "quillet-conv.fr", "quillet.",
                             "other.fr"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList codes;
    for (const LanguageFile& file : LanguageFiles(program))
        codes << file.Code;
    // "DEU" gives DE, German; "zz" is no language; the executable itself has no extension.
    EXPECT_EQ(codes, (QStringList{QStringLiteral("DE"), QStringLiteral("RU")}));
}

TEST_F(ViewTest, TheLanguageMenuChecksTheStoredLanguageWhenItsFileIsThere)
{
    struct Case {
        const char* stored;  // "": no override
        bool defaultChecked, russianChecked;
    };
    for (const Case c : {Case{"", true, false}, Case{"RU", false, true}, Case{"DE", false, false}}) {
        if (*c.stored)
            WriteLanguageOverride(platform::SelfExecutable(), QString::fromLatin1(c.stored));
        // A stored code without its file leaves the interface English.
        EXPECT_EQ(InstallInterfaceLanguage(platform::SelfExecutable()),
                  QString::fromLatin1(c.stored) == QStringLiteral("RU") ? QStringLiteral("RU") : QString());
        RemoveInterfaceLanguage();
        TfmView& w = Start();
        w.FillLangMenu();
        w.FillLangMenu();   // opened again: not listed twice
        EXPECT_EQ(w.Menu(QStringLiteral("meLang"))->actions().size(), 3) << c.stored;
        EXPECT_EQ(w.Item(QStringLiteral("meDef"))->isChecked(), c.defaultChecked) << c.stored;
        // Default cannot be chosen while it is what applies.
        EXPECT_EQ(w.Item(QStringLiteral("meDef"))->isEnabled(), !c.defaultChecked) << c.stored;
        ASSERT_NE(LanguageItem(w, QStringLiteral("RU")), nullptr);
        EXPECT_EQ(LanguageItem(w, QStringLiteral("RU"))->isChecked(), c.russianChecked) << c.stored;
        Discard();
    }
}

TEST_F(ViewTest, ChoosingALanguageStoresItsCodeSaysWhenAndTheNextStartSpeaksIt)
{
    TfmView& w = Start();
    w.FillLangMenu();
    LanguageItem(w, QStringLiteral("RU"))->trigger();
    const QStringList told{QStringLiteral("Language interface will be changed at the following loading of the program")};
    EXPECT_EQ(Messages(), told);
    EXPECT_EQ(prompter.Asked().front().msgKind, MsgKind::Information);
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(RegistryKeys::Locales, false));
        EXPECT_EQ(reg.ReadString(platform::FileNameBytes(platform::SelfExecutable()).toStdString()), "RU");
    }
    // The interface does not change before the next start.
    EXPECT_EQ(w.Menu(QStringLiteral("N8"))->title(), QStringLiteral("File"));
    Discard();

    // What the program does at start, before it makes its window.
    ASSERT_EQ(InstallInterfaceLanguage(platform::SelfExecutable()), QStringLiteral("RU"));
    TfmView& russian = Start();
    EXPECT_EQ(russian.Menu(QStringLiteral("N8"))->title(), QString::fromUtf8("Файл"));
    EXPECT_EQ(russian.StatusText(2), QString::fromUtf8("ВСТ"));

    // Default takes the choice back; with nothing stored it does nothing and says nothing.
    russian.FillLangMenu();
    russian.Item(QStringLiteral("meDef"))->trigger();
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_TRUE(ReadLanguageOverride(platform::SelfExecutable()).isEmpty());
    russian.meDefClick();
    EXPECT_EQ(Messages().size(), 2);
    RemoveInterfaceLanguage();
    EXPECT_EQ(Tr(QlConsts::TextInput), QStringLiteral("Text input"));
}

TEST_F(WindowsTest, ARealCopyStartedAfterTheChoiceShowsRussianCaptions)
{
    WriteLanguageOverride(QStringLiteral(QUILLET_APP_PATH), QStringLiteral("RU"));
    const QString file = MakeFile(QStringLiteral("письмо.txt"), QByteArray("text\r\n"));
    ChildCopy& copy = Child({file});
    ASSERT_TRUE(copy.Started());
    EXPECT_TRUE(WaitForCaption(copy.Handle(), QString::fromUtf8("Файл ") + file));
}

} // namespace
