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

TEST(LanguageFilesTest, TheRussianFileIsBuiltBesideTheExecutable)
{
    const QList<LanguageFile> files = LanguageFiles(QStringLiteral(QUILLET_APP_PATH));
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].Code, QStringLiteral("RU"));
    EXPECT_EQ(files[0].Name, Russian);
    EXPECT_TRUE(files[0].Path.endsWith(QStringLiteral("/quillet.ru")));
}

TEST(LanguageFilesTest, OnlyFilesNamedAfterTheExecutableWithAKnownCodeCount)
{
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
    EXPECT_TRUE(LanguageName(QStringLiteral("ZZ")).isEmpty());
}

TEST_F(ViewTest, WithoutAnOverrideDefaultIsCheckedAndCannotBeChosen)
{
    TfmView& w = Start();
    w.FillLangMenu();
    QAction* byDefault = w.Item(QStringLiteral("meDef"));
    EXPECT_TRUE(byDefault->isChecked());
    EXPECT_FALSE(byDefault->isEnabled());
    QAction* russian = LanguageItem(w, QStringLiteral("RU"));
    ASSERT_NE(russian, nullptr);
    EXPECT_EQ(russian->text(), Russian);
    // Opening the menu again does not add the items twice.
    w.FillLangMenu();
    EXPECT_EQ(w.Menu(QStringLiteral("meLang"))->actions().size(), 3);
}

TEST_F(ViewTest, AnOverrideWithItsFileChecksItsItemAndEnablesDefault)
{
    WriteLanguageOverride(platform::SelfExecutable(), QStringLiteral("RU"));
    TfmView& w = Start();
    w.FillLangMenu();
    EXPECT_TRUE(LanguageItem(w, QStringLiteral("RU"))->isChecked());
    EXPECT_FALSE(w.Item(QStringLiteral("meDef"))->isChecked());
    EXPECT_TRUE(w.Item(QStringLiteral("meDef"))->isEnabled());
}

TEST_F(ViewTest, ChoosingALanguageStoresItsCodeUnderTheExecutablePathAndSaysWhen)
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

    w.FillLangMenu();
    w.Item(QStringLiteral("meDef"))->trigger();
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_TRUE(ReadLanguageOverride(platform::SelfExecutable()).isEmpty());
    // Nothing stored: Default does nothing and says nothing.
    w.meDefClick();
    EXPECT_EQ(Messages().size(), 2);
}

TEST_F(ViewTest, TheNextStartAfterChoosingRussianSpeaksRussian)
{
    {
        TfmView& w = Start();
        w.FillLangMenu();
        LanguageItem(w, QStringLiteral("RU"))->trigger();
        Discard();
    }
    // What the program does at start, before it makes its window.
    ASSERT_EQ(InstallInterfaceLanguage(platform::SelfExecutable()), QStringLiteral("RU"));
    TfmView& w = Start();
    const std::pair<const char*, const char*> captions[] = {
        {"N8", "Файл"}, {"N14", "Правка"}, {"N20", "Поиск"}, {"N26", "Параметры"}, {"meWnd", "Окно"}, {"N34", "Справка"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(w.Menu(QString::fromLatin1(name))->title(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(w.Item(QStringLiteral("N12"))->text(), QString::fromUtf8("Сохранить как..."));
    EXPECT_EQ(w.sbOpen->toolTip(), QString::fromUtf8("Открыть файл"));
    EXPECT_EQ(w.StatusText(2), QString::fromUtf8("ВСТ"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet"));
    RemoveInterfaceLanguage();
    EXPECT_EQ(Tr(QlConsts::TextInput), QStringLiteral("Text input"));
}

TEST_F(ViewTest, AnOverrideWithoutItsFileLeavesTheInterfaceEnglish)
{
    WriteLanguageOverride(platform::SelfExecutable(), QStringLiteral("DE"));
    EXPECT_TRUE(InstallInterfaceLanguage(platform::SelfExecutable()).isEmpty());
    TfmView& w = Start();
    EXPECT_EQ(w.Menu(QStringLiteral("N8"))->title(), QStringLiteral("File"));
    w.FillLangMenu();
    // The stored code names no file here: no item is checked by it, Default neither.
    EXPECT_FALSE(w.Item(QStringLiteral("meDef"))->isChecked());
    EXPECT_TRUE(w.Item(QStringLiteral("meDef"))->isEnabled());
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
