// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding buttons through the real window: a file re-read from disk, a run of
// presses on one snapshot, selections converted alone or refused, the tables
// warning, the keys and the Encoding submenu.
#include "testsupport.h"

#include "richedit.h"

#include "codepages.h"
#include "converters.h"

#include <QTest>

namespace {

QByteArray Cp1251(const QString& text)
{
    QByteArray bytes(text.size(), '\0');
    platform::EncodeCp1251(reinterpret_cast<const char16_t*>(text.constData()), std::size_t(text.size()),
                           reinterpret_cast<std::uint8_t*>(bytes.data()));
    return bytes;
}

QString FromCp1251(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    platform::DecodeCp1251(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()),
                           reinterpret_cast<char16_t*>(text.data()));
    return text;
}

// What a single-byte text shown in `from` becomes when its bytes are read as `to`.
QString Reread(const QString& text, TEnc from, TEnc to)
{
    QByteArray bytes = Cp1251(text);
    auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
    if (TConverter out = WriteConverter(from, daNone, Little))
        out(data, std::size_t(bytes.size()));
    if (TConverter in = ReadConverter(to, daNone, Little))
        in(data, std::size_t(bytes.size()));
    return FromCp1251(bytes);
}

void Select(TfmView& w, int from, int to)
{
    platform::CHARRANGE range;
    range.cpMin = from;
    range.cpMax = to;
    w.GEditor->Window()->ExSetSel(range);
}

const QString Russian = QStringLiteral("Съешь же ещё этих мягких французских булок");

TEST_F(ViewTest, AFileReadAsWindowsButReallyKoiIsReadAgainFromDiskWithTheCaretKept)
{
    const QString name = MakeFile(QStringLiteral("letter.txt"), [] {
        QByteArray b = Cp1251(Russian);
        WinToKoi(reinterpret_cast<std::uint8_t*>(b.data()), std::size_t(b.size()));
        return b;
    }());
    TfmView& w = Start();
    w.GEditor->SetAutoEncoding(false);
    w.LoadNewFile(name, Win, true, 0, 0);
    ASSERT_EQ(w.CurEncoding, Win);
    ASSERT_NE(w.GEditor->Text(), Russian);
    w.GEditor->SetSelStart(7);
    // Only the disk holds the appended word: the text must come from there.
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray::fromHex("20ccc1c4"));  // " лад" in KOI-8R
    file.close();

    w.sbKoi->click();

    EXPECT_EQ(w.GEditor->Text(), Russian + QStringLiteral(" лад"));
    EXPECT_EQ(w.CurEncoding, Koi);
    EXPECT_TRUE(w.sbKoi->isChecked());
    EXPECT_EQ(w.GEditor->SelStart(), 7);
    EXPECT_EQ(w.GEditor->SelLength(), 0);
    EXPECT_EQ(w.CurFileName, name);
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("File ") + name);
    EXPECT_TRUE(w.TextReady);
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(ViewTest, PressesInARowDecodeTheBytesTheTextHadBeforeTheFirstOrTheEditedText)
{
    TfmView& w = Start();
    w.GEditor->SetText(Russian + QStringLiteral("\nВторая строка"));
    w.GEditor->SetModified(true);
    // Paragraph ends as the control reports them.
    const QString start = w.GEditor->Text();
    ASSERT_TRUE(start.endsWith(QStringLiteral("\rВторая строка")));

    // The current encoding without a selection does nothing at all.
    w.GEditor->SetSelStart(5);
    int titles = 0;
    QObject::connect(&w, &QWidget::windowTitleChanged, &w, [&titles] { ++titles; });
    const bool stale = w.GEditor->TempStream()->Stale;
    w.sbWin->click();
    EXPECT_EQ(titles, 0);
    EXPECT_EQ(w.GEditor->Text(), start);
    EXPECT_EQ(w.GEditor->SelStart(), 5);
    EXPECT_EQ(w.GEditor->TempStream()->Stale, stale);

    w.sbKoi->click();
    EXPECT_EQ(w.GEditor->Text(), Reread(start, Win, Koi));
    EXPECT_EQ(w.CurEncoding, Koi);
    EXPECT_TRUE(w.sbKoi->isChecked());

    // Dos reads the original bytes again, not the bytes of the KOI reading.
    w.sbDos->click();
    EXPECT_EQ(w.GEditor->Text(), Reread(start, Win, Dos));
    EXPECT_EQ(w.CurEncoding, Dos);

    w.sbWin->click();
    EXPECT_EQ(w.GEditor->Text(), start);
    EXPECT_EQ(w.CurEncoding, Win);
    EXPECT_TRUE(w.sbWin->isChecked());
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Text input"));

    // An edit between presses: the edited KOI reading, written back as KOI and
    // read as Windows.
    w.sbKoi->click();
    const QString koi = w.GEditor->Text();
    w.GEditor->SetSelStart(0);
    w.GEditor->SetSelText(QStringLiteral("Ж"));
    w.sbWin->click();
    EXPECT_EQ(w.GEditor->Text(), Reread(QStringLiteral("Ж") + koi, Koi, Win));
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(ViewTest, ASelectionIsConvertedAloneAndTheTextKeepsItsEncoding)
{
    TfmView& w = Start();
    const QString before = QStringLiteral("abc ");
    const QString word = QStringLiteral("Привет");
    const QString after = QStringLiteral(" xyz");
    w.GEditor->SetText(before + word + after);
    Select(w, 4, 10);

    w.sbDos->click();

    EXPECT_EQ(w.GEditor->Text(), before + Reread(word, Win, Dos) + after);
    EXPECT_EQ(w.CurEncoding, Win);
    EXPECT_TRUE(w.sbWin->isChecked());
    EXPECT_EQ(w.GEditor->SelStart(), 4);
    EXPECT_EQ(w.GEditor->SelLength(), 6);
    EXPECT_FALSE(w.GEditor->Selection());

    // The same selection pressed again decodes the same bytes: Win restores it.
    w.sbWin->click();
    EXPECT_EQ(w.GEditor->Text(), before + word + after);
}

TEST_F(ViewTest, ASelectionIsNotConvertedWithUnicodeOrRtfOnEitherSide)
{
    struct Case {
        TEnc current;
        QToolButton* TfmView::*button;
    };
    for (const Case c : {Case{Win, &TfmView::sbUni}, Case{Win, &TfmView::sbRtf}, Case{Uni, &TfmView::sbDos},
                         Case{Rtf, &TfmView::sbKoi}}) {
        TfmView& w = Start();
        w.GEditor->SetText(QStringLiteral("один два"));
        w.SetKodP(c.current);
        w.DownButt();
        Select(w, 0, 4);
        (w.*c.button)->click();
        EXPECT_EQ(w.GEditor->Text(), QStringLiteral("один два")) << int(c.current);
        EXPECT_EQ(w.CurEncoding, c.current);
        EXPECT_TRUE(w.encodingGroup->button(c.current)->isChecked());
        EXPECT_TRUE(w.TextReady);
        Discard();
    }
}

TEST_F(ViewTest, KeysAndMenuItemsPressTheirButtonAndConvert)
{
    TfmView& w = Start();
    w.GEditor->SetText(Russian);
    w.GEditor->SetModified(true);
    QTest::keyClick(w.GEditor->Window(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(w.CurEncoding, Koi);
    EXPECT_TRUE(w.sbKoi->isChecked());
    w.Item(QStringLiteral("mMac"))->trigger();
    EXPECT_EQ(w.CurEncoding, Mac);
    EXPECT_TRUE(w.sbMac->isChecked());
    EXPECT_EQ(w.GEditor->Text(), Reread(Russian, Win, Mac));
    QTest::keyClick(w.GEditor->Window(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(w.GEditor->Text(), Russian);

    // The submenu shows the buttons' state as it opens.
    w.sbUni->setEnabled(false);
    emit w.Menu(QStringLiteral("N33"))->aboutToShow();
    EXPECT_TRUE(w.Item(QStringLiteral("mWin"))->isChecked());
    EXPECT_FALSE(w.Item(QStringLiteral("mKoi"))->isChecked());
    EXPECT_FALSE(w.Item(QStringLiteral("mUni"))->isEnabled());
    EXPECT_TRUE(w.Item(QStringLiteral("mAllB"))->isChecked());
}

} // namespace
