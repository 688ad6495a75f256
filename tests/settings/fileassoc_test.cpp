// SPDX-License-Identifier: GPL-3.0-or-later
// Taking extensions over and giving them back in HKEY_CLASSES_ROOT, with the
// bookkeeping in Types and Names; the two context-menu entries; typed extensions.
#include "extensioninput.h"
#include "fileassoc.h"
#include "registrylayout.h"
#include "settingsstore.h"
#include "shellmenus.h"

using platform::HKEY_CLASSES_ROOT;
using platform::HKEY_CURRENT_USER;
using platform::TRegistry;

namespace {

const std::string Program = "/opt/quillet/quillet";
const std::string Ours = Program + " %1";
const std::string Other = "/usr/bin/gedit %1";

class FileAssocTest : public SettingsStoreTest {
protected:
    static void SetDefault(const std::string& key, const std::string& value)
    {
        TRegistry reg(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteDefault(value);
    }
    // The default value of a key of HKEY_CLASSES_ROOT, or "<none>" without the key.
    static std::string Default(const std::string& key)
    {
        TRegistry reg(HKEY_CLASSES_ROOT);
        return reg.OpenKey(key, false) ? reg.ReadDefault() : "<none>";
    }
    static bool ClassesKey(const std::string& key) { return TRegistry(HKEY_CLASSES_ROOT).KeyExists(key); }
    // A value of Types or Names, or "<none>".
    static std::string Kept(const char* key, const std::string& ext)
    {
        TRegistry reg(HKEY_CURRENT_USER);
        if (!reg.OpenKey(key, false) || !reg.ValueExists(ext))
            return "<none>";
        return reg.ReadString(ext);
    }
    // The command and the type name kept for an extension.
    using TKept = std::pair<std::string, std::string>;
    static TKept Kept(const std::string& ext)
    {
        return {Kept(RegistryKeys::Types, ext), Kept(RegistryKeys::Names, ext)};
    }
    template <class F>
    static void With(F&& f)
    {
        TRegistry reg;
        TFileAssociations a(reg, Program);
        f(a);
    }
};

TEST_F(FileAssocTest, TakingOverFromAnotherProgramRecordsItAndUncheckingPutsItBack)
{
    // The store, like the registry, does not tell txtfile from TXTfile: taking
    // the extension over writes into the other program's own type.
    SetDefault("\\.txt", "txtfile");
    SetDefault("\\txtfile\\shell\\open\\command", Other);
    SetDefault("\\txtfile\\DefaultIcon", "gedit.png");
    With([](TFileAssociations& a) {
        EXPECT_FALSE(a.IsMyAssociation("TXT"));
        EXPECT_EQ(a.CommStr("TXT"), Other);
        a.TakeOver("TXT");
        EXPECT_TRUE(a.IsMyAssociation("TXT"));
        EXPECT_TRUE(a.ListedAsOwn("TXT"));
    });
    EXPECT_EQ(Default("\\.TXT"), "TXTfile");
    EXPECT_EQ(Default("\\TXTfile\\shell\\open\\command"), Ours);
    EXPECT_EQ(Kept("TXT"), std::pair(Other, std::string("txtfile")));

    // A second take-over (another copy, or a saved list reloaded) learns only
    // our own command and keeps what was recorded first.
    With([](TFileAssociations& a) { a.TakeOver("TXT"); });
    EXPECT_EQ(Kept("TXT"), std::pair(Other, std::string("txtfile")));

    With([](TFileAssociations& a) { a.DeleteAssociation("TXT"); });
    EXPECT_EQ(Default("\\.txt"), "txtfile");
    EXPECT_EQ(Default("\\txtfile\\shell\\open\\command"), Other);
    EXPECT_EQ(Default("\\txtfile\\DefaultIcon"), "gedit.png");
    // The bookkeeping stays until the extension leaves the list.
    EXPECT_EQ(Kept(RegistryKeys::Types, "TXT"), Other);
}

TEST_F(FileAssocTest, UncheckingGivesBackAnotherTypeNameAndRemovesWhatWasNobodys)
{
    // Another program's type name comes back, and our type goes.
    SetDefault("\\.log", "Log.Document");
    SetDefault("\\Log.Document\\shell\\open\\command", Other);
    With([](TFileAssociations& a) {
        a.TakeOver("LOG");
        a.DeleteAssociation("LOG");
    });
    EXPECT_EQ(Default("\\.log"), "Log.Document");
    EXPECT_EQ(Default("\\Log.Document\\shell\\open\\command"), Other);
    EXPECT_FALSE(ClassesKey("\\LOGfile"));

    // Our own command from another place is nothing to give back.
    SetDefault("\\.cfg", "CFGfile");
    SetDefault("\\CFGfile\\shell\\open\\command", "/home/u/old/quillet %1");
    With([](TFileAssociations& a) {
        EXPECT_FALSE(a.IsMyAssociation("CFG"));
        a.TakeOver("CFG");
    });
    EXPECT_EQ(Kept("CFG"), TKept());

    // .nfo pointed to our type name without a command: nothing to give back.
    SetDefault("\\.nfo", "NFOfile");
    With([](TFileAssociations& a) { a.TakeOver("NFO"); });
    EXPECT_EQ(Kept("NFO"), TKept());
    With([](TFileAssociations& a) { a.DeleteAssociation("NFO"); });
    EXPECT_FALSE(ClassesKey("\\.nfo"));
    EXPECT_FALSE(ClassesKey("\\NFOfile"));

    // A key below .ext is someone else's: .ext stays, our type still goes.
    SetDefault("\\.ini\\ShellNew", "");
    With([](TFileAssociations& a) {
        a.TakeOver("INI");
        a.DeleteAssociation("INI");
    });
    EXPECT_TRUE(ClassesKey("\\.ini\\ShellNew"));
    EXPECT_FALSE(ClassesKey("\\INIfile"));
}

TEST_F(FileAssocTest, ExtensionsLeftOutOfTheListAreGivenBackAndForgotten)
{
    SetDefault("\\.lst", "lstfile");
    SetDefault("\\lstfile\\shell\\open\\command", Other);
    With([](TFileAssociations& a) {
        a.TakeOver("LST");
        a.KeepBookkeeping("DIC");
        a.KeepBookkeeping("TXT");
        // "txt" in the list is the stored TXT: it is not lost.
        a.DeleteLostExts({"txt"});
        EXPECT_EQ(a.StoredExtensions(), std::vector<std::string>{"TXT"});
    });
    EXPECT_EQ(Default("\\.lst"), "lstfile");
    EXPECT_EQ(Default("\\lstfile\\shell\\open\\command"), Other);
    EXPECT_EQ(Kept(RegistryKeys::Names, "LST"), "<none>");
    EXPECT_EQ(Kept(RegistryKeys::Names, "DIC"), "<none>");
}

TEST_F(FileAssocTest, ANameThatWouldReachAnotherKeyIsNeverTouched)
{
    SetDefault("\\.a\\b", "x");
    With([](TFileAssociations& a) {
        a.TakeOver("A\\B");
        a.DeleteAssociation("A\\B");
        EXPECT_FALSE(a.IsMyAssociation("A\\B"));
    });
    EXPECT_EQ(Default("\\.a\\b"), "x");
    EXPECT_FALSE(ClassesKey("\\A"));
}

TEST_F(FileAssocTest, ContextMenuEntriesAreWrittenAndLeaveNoKeyWhenUnchecked)
{
    TRegistry reg;
    WriteExplorerMenu(reg, Program, true, "Load with Quillet");
    WriteStartMenu(reg, Program, true);
    EXPECT_EQ(Default("\\*\\shell\\Quillet"), "Load with Quillet");
    EXPECT_EQ(Default("\\*\\shell\\Quillet\\command"), Ours);
    EXPECT_EQ(Default("\\directory\\shell\\Quillet\\command"), Program);
    EXPECT_TRUE(ExplorerMenuChecked(reg, Program));
    EXPECT_TRUE(StartMenuChecked(reg, Program));
    // Another copy's path is not ours.
    EXPECT_FALSE(ExplorerMenuChecked(reg, "/other/quillet"));

    WriteExplorerMenu(reg, Program, false, "Load with Quillet");
    WriteStartMenu(reg, Program, false);
    EXPECT_FALSE(ClassesKey("\\*\\shell\\Quillet"));
    EXPECT_FALSE(ClassesKey("\\directory\\shell\\Quillet"));
    EXPECT_FALSE(ExplorerMenuChecked(reg, Program));
}

TEST(ExtensionInput, TypedExtensionsAreUpperCasedAndChecked)
{
    // ё keeps its case by the code page's rule; letters outside it stay as typed.
    const std::pair<const char*, const char*> cases[] = {{"md", "MD"}, {" *.md ", "MD"}, {".txt", "TXT"},
                                                         {"док", "ДОК"}, {"ёéx", "ёéX"}, {"  ", ""}};
    for (const auto& [typed, kept] : cases)
        EXPECT_EQ(NormalizeExtension(QString::fromUtf8(typed)), QString::fromUtf8(kept)) << typed;
    for (const char* bad : {"A B", "A/B", "A\\B", "*", "A?", "[A]"})
        EXPECT_FALSE(IsValidExtension(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(IsValidExtension(QStringLiteral("TAR.GZ")));
}

} // namespace
