// SPDX-License-Identifier: GPL-3.0-or-later
// The Options key at start: defaults on a fresh store, stored values applied,
// a damaged store; bounds written at close.
#include "testsupport.h"
#include "testsupport_store.h"

#include "registry.h"
#include "registrylayout.h"

#include <QPushButton>

namespace {

constexpr const char* OptionsKey = RegistryKeys::Options;

TEST_F(ViewTest, StoredValuesAreApplied)
{
    Store(OptionsKey, {{"RusCode", 0}, {"Indent", 3}, {"Wrap", 1}, {"Window", 1}, {"Top", 40}, {"Left", 50},
                       {"Width", 600}, {"Height", 400}, {"AllEncBut", 0}, {"ParBut", 0}, {"PDos", 1}, {"AutoEnc", 0},
                       {"ExceptMac", 0}, {"ReadOnly", 1}, {"Size", 14}, {"Font", "Liberation Mono"}, {"FStyle", "010"}});
    TfmView& w = Start();
    EXPECT_EQ(w.CurEncoding, Dos);
    EXPECT_TRUE(w.sbDos->isChecked());
    EXPECT_EQ(w.IndentStep, 3);
    EXPECT_TRUE(w.GEditor->WordWrap());
    EXPECT_TRUE(w.sbWrap->isChecked());
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w.geometry(), QRect(50, 40, 600, 400));
    EXPECT_TRUE(w.sbKoi->isHidden());
    EXPECT_TRUE(w.sbLeft->isHidden());
    EXPECT_EQ(w.GEditor->DosAdd(), daOEM);
    EXPECT_FALSE(w.GEditor->AutoEncoding());
    EXPECT_FALSE(w.GEditor->ExceptMac);
    EXPECT_TRUE(w.GEditor->ReadOnly());
    EXPECT_EQ(w.DefFont.Name, QStringLiteral("Liberation Mono"));
    EXPECT_EQ(w.DefFont.Size, 14);
    EXPECT_TRUE(w.DefFont.Style.Contains(TFontStyle::fsItalic));
    EXPECT_FALSE(w.DefFont.Style.Contains(TFontStyle::fsBold));
    EXPECT_TRUE(w.bbRight->isVisibleTo(&w));
}

TEST_F(ViewTest, AFreshOrDamagedStoreGivesTheBuiltInDefaultsAndADamagedOneIsLeftAlone)
{
    const auto expectDefaults = [](TfmView& w) {
        EXPECT_EQ(w.CurEncoding, Win);
        EXPECT_TRUE(w.sbWin->isChecked());
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
        EXPECT_TRUE(w.GEditor->AutoEncoding());
        EXPECT_EQ(w.GEditor->DosAdd(), daUNI);
        EXPECT_TRUE(w.GEditor->ExceptMac);
        EXPECT_EQ(w.GEditor->Font().Name, QStringLiteral("Courier New"));
        EXPECT_EQ(w.GEditor->Font().Size, 10);
        EXPECT_EQ(w.IndentStep, 0);
        EXPECT_FALSE(w.sbKoi->isHidden());
    };
    expectDefaults(Start());
    EXPECT_TRUE(prompter.Asked().empty());
    Discard();
    for (const char* end : {"", "-wal", "-shm"})
        QFile::remove(RegistryFile() + QLatin1String(end));

    const QByteArray garbage("this is not a database at all, just some bytes\n");
    MakeFile(QStringLiteral("registry.db"), garbage);
    expectDefaults(Start());
    ASSERT_EQ(Messages().size(), 1) << Messages().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(Messages().first().startsWith(QStringLiteral("The settings could not be read")));
    Discard();
    EXPECT_EQ(Messages().size(), 1);
    EXPECT_EQ(ReadFile(RegistryFile()), garbage);
}

TEST_F(ViewTest, BoundsAreWrittenOnlyWhenClosingInTheNormalState)
{
    Store(OptionsKey, {{"Window", 0}, {"Top", 1}, {"Left", 2}, {"Width", 300}, {"Height", 200}});
    Start();
    Discard();
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(OptionsKey, false));
        EXPECT_EQ(reg.ReadInteger("Width"), 300);
    }
    Store(OptionsKey, {{"Window", 1}});
    TfmView& w = Start();
    w.setGeometry(30, 60, 640, 420);
    Discard();
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(OptionsKey, false));
    EXPECT_EQ(reg.ReadInteger("Left"), 30);
    EXPECT_EQ(reg.ReadInteger("Top"), 60);
    EXPECT_EQ(reg.ReadInteger("Width"), 640);
    EXPECT_EQ(reg.ReadInteger("Height"), 420);
}

} // namespace
