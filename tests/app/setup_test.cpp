// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog in the real window: what each page loads and saves, the
// file-types page against the store and the desktop (xdg-mime's own answer), the
// failures that must change nothing, and Clear.
#include "testsupport.h"
#include "testsupport_store.h"

#include "checklistbox.h"
#include "qlconsts.h"
#include "radiogroup.h"
#include "registry.h"
#include "registrylayout.h"
#include "savereg.h"
#include "sysbib.h"
#include "viewsetuphost.h"

#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

using platform::HKEY_CLASSES_ROOT;
using platform::HKEY_CURRENT_USER;
using platform::TRegistry;

namespace {

const QString Program = QStringLiteral(QUILLET_APP_PATH);
const std::string OtherCommand = "/usr/bin/gedit %1";

class SetupTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        // The desktop is known from its files alone, and no system file of this
        // machine takes part.
        QDir(dir.path()).mkdir(QStringLiteral("etc-xdg"));
        qputenv("XDG_CONFIG_DIRS", dir.filePath(QStringLiteral("etc-xdg")).toLocal8Bit());
        for (const char* variable : {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                                     "MATE_DESKTOP_SESSION_ID", "DESKTOP_SESSION", "DISPLAY"})
            qunsetenv(variable);
    }

    // Opens the dialog as the settings button does, without its modal loop.
    TfmSetup& Open()
    {
        if (!view)
            Start();
        view->SetupOk();
        TfmSetup& d = *view->SetupForm;
        d.FormShow();
        d.FormActivate();
        return d;
    }

    static int Row(const TfmSetup& d, const QString& ext)
    {
        for (int row = 0; row < d.CheckListBox1->count(); ++row)
            if (d.CheckListBox1->item(row)->text() == ext)
                return row;
        return -1;
    }
    static QStringList Listed(const TfmSetup& d)
    {
        QStringList list;
        for (int row = 0; row < d.CheckListBox1->count(); ++row)
            list << d.CheckListBox1->item(row)->text();
        return list;
    }
    static void Toggle(TfmSetup& d, const QString& ext)
    {
        const int row = Row(d, ext);
        ASSERT_GE(row, 0);
        d.CheckListBox1->SetChecked(row, !d.CheckListBox1->Checked(row));
    }
    // Presses a Save that answers "Options were saved in the registry".
    void Save(QPushButton* button)
    {
        prompter.AnswerMessage(MsgButton::Ok);
        button->click();
    }

    static std::string Classes(const std::string& key)
    {
        TRegistry reg(HKEY_CLASSES_ROOT);
        return reg.OpenKey(key, false) ? reg.ReadDefault() : "<none>";
    }
    static std::string Kept(const char* key, const std::string& name)
    {
        TRegistry reg(HKEY_CURRENT_USER);
        return reg.OpenKey(key, false) && reg.ValueExists(name) ? reg.ReadString(name) : "<none>";
    }
    static std::optional<int> Stored(const char* key, const char* name)
    {
        TRegistry reg(HKEY_CURRENT_USER);
        if (!reg.OpenKey(key, false) || !reg.ValueExists(name))
            return std::nullopt;
        return reg.ReadInteger(name);
    }
    // Each named integer of a key holds the value given.
    static void ExpectStored(const char* key, std::initializer_list<std::pair<const char*, int>> values)
    {
        for (const auto& [name, value] : values)
            EXPECT_EQ(Stored(key, name), value) << name;
    }

    QString Data(const QString& rel) const { return dir.filePath(QStringLiteral("data/") + rel); }
    QString Config(const QString& rel) const { return dir.filePath(QStringLiteral("config/") + rel); }
    // Every folder and file below the test's home and XDG folders, folders as "/".
    QMap<QString, QByteArray> XdgTree() const
    {
        QMap<QString, QByteArray> tree;
        for (const char* root : {"home", "data", "config"}) {
            QDirIterator it(dir.filePath(QString::fromLatin1(root)),
                            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                tree.insert(path.mid(dir.path().size() + 1), it.fileInfo().isDir() ? "/" : ReadFile(path));
            }
        }
        return tree;
    }
    // Every key of both roots of the store.
    static QStringList StoreKeys()
    {
        QStringList keys;
        for (const platform::RegRoot root : {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT}) {
            const std::function<void(const std::string&)> walk = [&](const std::string& path) {
                TRegistry reg(root);
                if (!path.empty() && !reg.OpenKey(path, false))
                    return;
                for (const std::string& name : reg.GetKeyNames()) {
                    keys << QString::fromStdString((root == HKEY_CURRENT_USER ? "HKCU" : "HKCR") + path + "\\" + name);
                    walk(path + "\\" + name);
                }
            };
            walk({});
        }
        return keys;
    }

    // What the desktop opens the type with, as xdg-mime says after the caches
    // are rebuilt.
    QString DefaultFor(const QString& type) const
    {
        QProcess::execute(QStringLiteral("update-desktop-database"), {Data(QStringLiteral("applications"))});
        QProcess xdg;
        xdg.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
        xdg.waitForFinished(30000);
        return QString::fromUtf8(xdg.readAllStandardOutput()).trimmed();
    }

    // Another program that opened text files before Quillet: in the store and
    // on the desktop.
    void OtherProgramOwnsText()
    {
        TRegistry reg(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(reg.OpenKey("\\.txt", true));
        reg.WriteDefault("txtfile");
        ASSERT_TRUE(reg.OpenKey("\\txtfile\\shell\\open\\command", true));
        reg.WriteDefault(OtherCommand);
        QDir().mkpath(Data(QStringLiteral("applications")));
        MakeFile(QStringLiteral("data/applications/other.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\nMimeType=text/plain;\n");
        MakeFile(QStringLiteral("config/mimeapps.list"), "[Default Applications]\ntext/plain=other.desktop;\n");
    }

    // Text files are the other program's again, in the store and on the desktop.
    void ExpectOtherProgramOwnsText() const
    {
        EXPECT_EQ(Classes("\\.txt"), "txtfile");
        EXPECT_EQ(Classes("\\txtfile\\shell\\open\\command"), OtherCommand);
        EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("other.desktop"));
    }

    // Whether the row is drawn in pure red, as a changed entry is.
    static bool DrawnRed(TfmSetup& d, int row)
    {
        d.CheckListBox1->resize(300, 220);
        d.CheckListBox1->doItemsLayout();
        const QImage image = d.CheckListBox1->viewport()->grab().toImage();
        const QRect rect = d.CheckListBox1->visualItemRect(d.CheckListBox1->item(row));
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (image.pixelColor(x, y) == QColor(255, 0, 0))
                    return true;
        return false;
    }
};

TEST_F(SetupTest, ACleanStoreShowsTheDefaultsUncheckedAndListEditsWriteNothingUntilSave)
{
    const QMap<QString, QByteArray> before = XdgTree();
    TfmSetup& d = Open();
    EXPECT_EQ(Listed(d), QStringList({"TXT", "LOG", "CFG", "DIZ", "NFO", "LST", "INI", "EXC", "DIC", "SCP"}));
    for (int row = 0; row < d.CheckListBox1->count(); ++row)
        EXPECT_FALSE(d.CheckListBox1->Checked(row));
    EXPECT_FALSE(d.BitBtn3->isEnabled());
    EXPECT_FALSE(d.BitBtn7->isEnabled());

    // Add takes each extension once, in upper case; Remove only what is not ours.
    d.PageControl1->setCurrentIndex(3);
    prompter.AnswerInput(QStringLiteral("txt")).AnswerInput(std::nullopt).AnswerInput(QStringLiteral("md"));
    d.BitBtn5->click();
    d.BitBtn5->click();
    EXPECT_EQ(d.CheckListBox1->count(), 10);
    EXPECT_FALSE(d.BitBtn3->isEnabled());
    d.BitBtn5->click();
    ASSERT_EQ(d.CheckListBox1->count(), 11);
    EXPECT_EQ(d.CheckListBox1->currentItem()->text(), QStringLiteral("MD"));
    EXPECT_TRUE(d.BitBtn3->isEnabled());
    EXPECT_TRUE(d.BitBtn7->isEnabled());

    prompter.AnswerInput(QStringLiteral("a b")).AnswerMessage(MsgButton::Ok);
    d.BitBtn5->click();
    EXPECT_EQ(Messages().last(), QStringLiteral("This extension can not be used: A B"));

    prompter.AnswerMessage(MsgButton::No);
    d.BitBtn7->click();
    EXPECT_EQ(Messages().last(), QStringLiteral("Remove extension MD ?"));
    EXPECT_EQ(d.CheckListBox1->count(), 11);
    prompter.AnswerMessage(MsgButton::Yes);
    d.BitBtn7->click();
    EXPECT_EQ(Row(d, QStringLiteral("MD")), -1);

    // A checked entry cannot go.
    d.CheckListBox1->setCurrentRow(Row(d, QStringLiteral("LOG")));
    EXPECT_TRUE(d.BitBtn7->isEnabled());
    Toggle(d, QStringLiteral("LOG"));
    EXPECT_FALSE(d.BitBtn7->isEnabled());

    // Nothing is written until Save.
    Toggle(d, QStringLiteral("LOG"));
    d.BitBtn4->click();
    EXPECT_TRUE(prompter.Problems().isEmpty()) << prompter.Problems().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(TRegistry().KeyExists(RegistryKeys::Quillet));
    EXPECT_EQ(XdgTree(), before);
}

TEST_F(SetupTest, TakingTextOverOpensItWithUsAndUncheckingGivesItBack)
{
    OtherProgramOwnsText();
    ASSERT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("other.desktop"));
    TfmSetup& d = Open();
    d.PageControl1->setCurrentIndex(3);
    const int txt = Row(d, QStringLiteral("TXT"));
    d.CheckListBox1->setCurrentRow(txt);
    EXPECT_EQ(d.Label3->text(), QString::fromStdString(OtherCommand));
    EXPECT_FALSE(DrawnRed(d, txt));
    Toggle(d, QStringLiteral("TXT"));
    EXPECT_TRUE(DrawnRed(d, txt));
    EXPECT_TRUE(d.BitBtn3->isEnabled());

    Save(d.BitBtn3);
    EXPECT_EQ(Messages().last(), QStringLiteral("Options were saved in the registry"));
    EXPECT_FALSE(DrawnRed(d, txt));
    EXPECT_FALSE(d.BitBtn3->isEnabled());
    EXPECT_EQ(Classes("\\TXTfile\\shell\\open\\command"), Program.toStdString() + " %1");
    EXPECT_EQ(d.Label3->text(), Program + QStringLiteral(" %1"));
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("quillet-private.desktop"));

    // The next opening shows it as ours; unchecked and saved, all comes back.
    d.reject();
    TfmSetup& again = Open();
    EXPECT_TRUE(again.CheckListBox1->Checked(txt));
    Toggle(again, QStringLiteral("TXT"));
    Save(again.BitBtn3);
    ExpectOtherProgramOwnsText();
    EXPECT_EQ(ReadFile(Config(QStringLiteral("mimeapps.list"))),
              QByteArray("[Default Applications]\ntext/plain=other.desktop;\n"));
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("applications/quillet-private.desktop"))));
}

TEST_F(SetupTest, ASaveThatFailsChangesNeitherTheStoreNorTheDesktop)
{
    OtherProgramOwnsText();
    TfmSetup& d = Open();
    // The user's mimeapps.list cannot be replaced: a folder stands in its way.
    QFile::remove(Config(QStringLiteral("mimeapps.list")));
    ASSERT_TRUE(QDir().mkpath(Config(QStringLiteral("mimeapps.list"))));
    Toggle(d, QStringLiteral("TXT"));
    d.BitBtn3->click();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().first().startsWith(QStringLiteral("Can not change the file types and menus of the desktop")))
        << Messages().first().toStdString();
    EXPECT_EQ(Classes("\\.txt"), "txtfile");
    EXPECT_FALSE(TRegistry().KeyExists(RegistryKeys::Types));
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("applications/quillet-private.desktop"))));
    // Still a change to save.
    EXPECT_TRUE(DrawnRed(d, Row(d, QStringLiteral("TXT"))));
    EXPECT_TRUE(d.BitBtn3->isEnabled());

    // The look and the menus are saved together: a menu that cannot be written
    // keeps the look unsaved too, and the window as it was.
    QDir().mkpath(Data(QStringLiteral("nautilus")));
    MakeFile(QStringLiteral("data/nautilus/scripts"), "not a folder");
    d.chExpl->setChecked(true);
    d.chReadOnly->setChecked(true);
    d.BitBtn1->click();
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_TRUE(Messages().last().contains(Data(QStringLiteral("nautilus/scripts")))) << Messages().last().toStdString();
    EXPECT_FALSE(TRegistry().KeyExists(RegistryKeys::Options));
    EXPECT_FALSE(TRegistry(HKEY_CLASSES_ROOT).KeyExists("\\*\\shell\\Quillet"));
    EXPECT_FALSE(view->GEditor->ReadOnly());
    QFile::remove(Data(QStringLiteral("nautilus/scripts")));

    // A store that cannot be written: the desktop is not touched either.
    QDir(Config(QStringLiteral("mimeapps.list"))).removeRecursively();
    const QString folder = dir.filePath(QStringLiteral("not-a-store"));
    QDir().mkpath(folder);
    qputenv("QUILLET_REGISTRY", folder.toLocal8Bit());
    d.BitBtn3->click();
    ASSERT_EQ(Messages().size(), 3);
    EXPECT_FALSE(Messages().last().contains(QStringLiteral("saved"))) << Messages().last().toStdString();
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("applications/quillet-private.desktop"))));
    qputenv("QUILLET_REGISTRY", RegistryFile().toLocal8Bit());
}

TEST_F(SetupTest, AppearanceSaveWritesTheLookAndTheContextMenus)
{
    const QMap<QString, QByteArray> before = XdgTree();
    Store(RegistryKeys::Options, {{"Top", 50}});
    TfmSetup& d = Open();
    d.chFull->click();
    d.chFull->click(); // unchecked and checked again: the rule follows
    EXPECT_TRUE(d.chNoth->isEnabled());
    d.chNoth->setChecked(true);
    d.chInd->click();
    EXPECT_TRUE(d.spInd->isEnabled());
    d.spInd->setValue(4);
    d.chReadOnly->setChecked(true);
    d.chEncAll->setChecked(false);
    d.chWrap->setChecked(true);
    d.chExpl->setChecked(true);
    d.chStart->setChecked(true);
    Save(d.BitBtn1);
    EXPECT_EQ(Messages().last(), QStringLiteral("Options were saved in the registry"));
    // Any bound missing: all four take the first-save defaults (Top, Width).
    ExpectStored(RegistryKeys::Options, {{"Window", -1}, {"Indent", 4}, {"ReadOnly", 1}, {"AllEncBut", 0}, {"Wrap", 1},
                                         {"Size", 10}, {"Top", 3}, {"Width", 681}});
    EXPECT_EQ(Kept(RegistryKeys::Options, "FStyle"), "100");
    EXPECT_EQ(Kept(RegistryKeys::Options, "Font"), "Courier New");
    EXPECT_TRUE(view->GEditor->ReadOnly());
    EXPECT_EQ(Classes("\\*\\shell\\Quillet\\command"), Program.toStdString() + " %1");
    EXPECT_TRUE(QFileInfo(Data(QStringLiteral("nautilus/scripts/Load with Quillet"))).isExecutable());
    EXPECT_TRUE(QFileInfo::exists(Data(QStringLiteral("kio/servicemenus/quillet-folder.desktop"))));
    // Loaded again, the saved look shows, and the font's text values are no error.
    const qsizetype told = Messages().size();
    d.FormShow();
    EXPECT_EQ(Messages().size(), told);
    EXPECT_TRUE(d.chNoth->isChecked() && d.chExpl->isChecked() && d.chStart->isChecked());
    EXPECT_EQ(d.spInd->value(), 4);

    // Full screen off saves a normal window whatever the hiding box shows; the
    // indent box off saves 0; the menus go, files and keys alike.
    d.chFull->click();
    EXPECT_FALSE(d.chNoth->isEnabled());
    d.chInd->click();
    d.chExpl->setChecked(false);
    d.chStart->setChecked(false);
    Store(RegistryKeys::Options, {{"Top", 77}});
    Save(d.BitBtn1);
    ExpectStored(RegistryKeys::Options, {{"Window", 1}, {"Indent", 0}, {"Top", 77}});
    EXPECT_FALSE(TRegistry(HKEY_CLASSES_ROOT).KeyExists("\\*\\shell\\Quillet"));
    EXPECT_FALSE(TRegistry(HKEY_CLASSES_ROOT).KeyExists("\\directory\\shell\\Quillet"));
    EXPECT_EQ(XdgTree(), before);
}

TEST_F(SetupTest, EncodingSaveWritesOnlyWhatItsEnabledControlsSay)
{
    Store(RegistryKeys::Options, {{"RusCode", 3}, {"PDos", 1}});
    TfmSetup& d = Open();
    ASSERT_TRUE(d.chEnc->isChecked());
    EXPECT_FALSE(d.cbEnc->isEnabled());
    EXPECT_TRUE(d.chMac->isEnabled());
    d.rgChar->SetItemIndex(3);
    d.chUrl->setChecked(true);
    d.cbParN->setCurrentIndex(4);
    Save(d.BitBtn11);
    // Detection on: the encoding is left untouched.
    ExpectStored(RegistryKeys::Options, {{"RusCode", 3}, {"PDos", 3}, {"ParNum", 4}, {"AutoUrl", 1}});
    EXPECT_EQ(view->GEditor->DosAdd(), daTBL);
    EXPECT_TRUE(view->GEditor->AutoURLDetect());

    d.chEnc->click();
    d.cbEnc->setCurrentIndex(1);
    EXPECT_FALSE(d.rgChar->isEnabled());
    EXPECT_FALSE(d.chMac->isEnabled());
    d.rgChar->SetItemIndex(0);
    Save(d.BitBtn11);
    // The group of frames was disabled: PDos stays.
    ExpectStored(RegistryKeys::Options, {{"AutoEnc", 0}, {"RusCode", 1}, {"PDos", 3}, {"ExceptMac", 0}});
    EXPECT_FALSE(view->GEditor->AutoEncoding());
    EXPECT_FALSE(view->GEditor->ExceptMac);
    EXPECT_EQ(view->GEditor->DosAdd(), daTBL);
    d.cbEnc->setCurrentIndex(0);
    EXPECT_TRUE(d.rgChar->isEnabled());

    // UTF-8, listed last, is stored as its own ordinal and shown again from it.
    d.cbEnc->setCurrentIndex(d.cbEnc->count() - 1);
    EXPECT_EQ(d.cbEnc->currentText(), QStringLiteral("UTF-8"));
    Save(d.BitBtn11);
    EXPECT_EQ(Stored(RegistryKeys::Options, "RusCode"), 8);
    d.close();
    EXPECT_EQ(Open().cbEnc->currentText(), QStringLiteral("UTF-8"));
}

TEST_F(SetupTest, PrintOptionsSaveCreatesItsKeysWithTheDefaultsShown)
{
    TfmSetup& d = Open();
    d.cbNum->click();
    for (QWidget* w : std::initializer_list<QWidget*>{d.spFNum, d.cbFirst, d.RadioGroup3, d.RadioGroup4})
        EXPECT_FALSE(w->isEnabled());
    d.cbNum->click();
    d.spFNum->setValue(2000000000);
    d.cbBottom->setChecked(true);
    d.RadioGroup5->SetItemIndex(1);
    Save(d.BitBtn8);
    ExpectStored(RegistryKeys::Pages, {{"PrintN", 1}, {"BeginN", 2000000000}, {"Position", 1}, {"Allign", 1},
                                       {"BottomBorder", 1}, {"TopBorder", 0}});
    EXPECT_EQ(Stored(RegistryKeys::Marges, "CodeMeasurement"), 1);

    // "Indents" is the window's page setup, showing the margins in the unit just
    // saved; cancelled there, it stores nothing of its own.
    prompter.Clear();
    prompter.AnswerPageSetup(std::nullopt);
    d.BitBtn10->click();
    ASSERT_EQ(prompter.Asked().size(), 1u);
    EXPECT_EQ(prompter.Asked()[0].kind, PromptKind::PageSetup);
    EXPECT_EQ(prompter.Asked()[0].pageSetup.layout.units(), QPageLayout::Inch);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(RegistryKeys::Marges, false));
    EXPECT_FALSE(reg.ValueExists(MargesValue::MarginLeft));
}

TEST_F(SetupTest, ValuesTheStoreCannotGiveComeFromTheRunningWindow)
{
    Store(RegistryKeys::Options, {{"Indent", 20}, {"ParNum", 9}, {"RusCode", 9}, {"Window", 1}, {"Wrap", "yes"}});
    Start();
    view->IndentStep = 5;
    view->NumKind = 2;
    view->NumStyle = 2; // "1. 2. 3."
    view->SetKodP(Koi);
    view->sbWrap->setChecked(true);
    // The window said it once at its start; the dialog says it again, once.
    ASSERT_EQ(Messages().size(), 1);
    prompter.Clear();
    TfmSetup& d = Open();
    EXPECT_TRUE(d.chInd->isChecked());
    EXPECT_EQ(d.spInd->value(), 5);
    EXPECT_EQ(d.cbParN->currentIndex(), 3);
    EXPECT_EQ(d.cbEnc->currentIndex(), int(Koi));
    EXPECT_FALSE(d.chFull->isChecked());
    EXPECT_TRUE(d.chWrap->isChecked());
    // The value of the wrong kind is said, once, by its name.
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Invalid data type of the registry value: Wrap")});
}

TEST_F(SetupTest, ClearGivesEverythingBackRemovesTheDataAndClosesTheWindow)
{
    OtherProgramOwnsText();
    Store(RegistryKeys::Options, {{"Window", 1}});
    const QString text = MakeFile(QStringLiteral("note.txt"), "text");
    Start({text});
    TfmSetup& d = Open();
    Toggle(d, QStringLiteral("TXT"));
    Toggle(d, QStringLiteral("LOG"));
    d.chExpl->setChecked(true);
    Save(d.BitBtn3);
    Save(d.BitBtn1);
    ASSERT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("quillet-private.desktop"));
    // LOG leaves the list unsaved: Clear still gives it back.
    Toggle(d, QStringLiteral("LOG"));
    Save(d.BitBtn3);
    Toggle(d, QStringLiteral("LOG"));
    d.CheckListBox1->setCurrentRow(Row(d, QStringLiteral("LOG")));
    ASSERT_EQ(Classes("\\.LOG"), "<none>");

    prompter.AnswerMessage(MsgButton::No);
    d.BitBtn6->click();
    EXPECT_EQ(Messages().last(), QStringLiteral("Are you really will remove all Quillet data from registry?"));
    EXPECT_TRUE(TRegistry().KeyExists(RegistryKeys::Types));
    EXPECT_TRUE(view->isVisible());

    prompter.AnswerMessage(MsgButton::Yes);
    d.BitBtn6->click();
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(d.isVisible());
    // Closing the window wrote no bounds and no recent file back.
    EXPECT_FALSE(TRegistry().KeyExists(RegistryKeys::Tarnwick));
    ExpectOtherProgramOwnsText();
    // The context-menu entry is not the program's data: it stays.
    EXPECT_EQ(Classes("\\*\\shell\\Quillet\\command"), Program.toStdString() + " %1");
    EXPECT_TRUE(QFileInfo::exists(Data(QStringLiteral("nemo/actions/quillet-load.nemo_action"))));

    view.reset();
    TfmView& next = Start();
    EXPECT_TRUE(next.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(next.Item(QStringLiteral("File1"))->isVisible());
}

TEST_F(SetupTest, UncheckingEverythingAndClearLeaveTheFoldersAndTheStoreAsTheyWere)
{
    const QMap<QString, QByteArray> before = XdgTree();
    TfmSetup& d = Open();
    const auto checkAll = [&](bool on) {
        for (const QString& ext : {QStringLiteral("TXT"), QStringLiteral("LOG"), QStringLiteral("DIZ")})
            d.CheckListBox1->SetChecked(Row(d, ext), on);
        d.chExpl->setChecked(on);
        d.chStart->setChecked(on);
        Save(d.BitBtn3);
        Save(d.BitBtn1);
    };
    checkAll(true);
    ASSERT_TRUE(QFileInfo::exists(Data(QStringLiteral("applications/quillet-private.desktop"))));
    checkAll(false);
    EXPECT_EQ(XdgTree(), before);
    // What stays is the saved list and the look: no key that holds nothing.
    EXPECT_EQ(StoreKeys().filter(QStringLiteral("HKCR")), QStringList());

    // Clear gives the types back and takes the program's data away, whole.
    Toggle(d, QStringLiteral("TXT"));
    Toggle(d, QStringLiteral("CFG"));
    Save(d.BitBtn3);
    prompter.AnswerMessage(MsgButton::Yes);
    d.BitBtn6->click();
    ASSERT_FALSE(view->isVisible());
    EXPECT_EQ(XdgTree().keys(), before.keys());
    EXPECT_EQ(StoreKeys(), QStringList());
}

TEST_F(SetupTest, ASecondDialogSavingTheSameTakeOverKeepsTheFirstRecord)
{
    OtherProgramOwnsText();
    TfmSetup& first = Open();
    TfmSetup second(MakeSetupHost(*view), view.get());
    second.FormShow();
    second.FormActivate();
    Toggle(first, QStringLiteral("TXT"));
    Toggle(second, QStringLiteral("TXT"));
    Save(first.BitBtn3);
    // The second still thinks TXT was not ours: it takes it over again.
    Save(second.BitBtn3);
    EXPECT_EQ(Kept(RegistryKeys::Types, "TXT"), OtherCommand);
    EXPECT_EQ(Kept(RegistryKeys::Names, "TXT"), "txtfile");
    EXPECT_EQ(ReadFile(Config(QStringLiteral("mimeapps.list"))).count("quillet-private.desktop"), 2);

    Toggle(second, QStringLiteral("TXT"));
    Save(second.BitBtn3);
    ExpectOtherProgramOwnsText();
}

} // namespace
