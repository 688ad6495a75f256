// SPDX-License-Identifier: GPL-3.0-or-later
// Files in every encoding load to the right letters and save back byte for byte;
// re-reading cached bytes under other encodings returns to the starting text.
#include "qxeditor.h"
#include "richedit.h"
#include "testsupport.h"

#include <QStringList>

#include <tuple>

#include <gtest/gtest.h>

namespace {

struct TRoundTrip { const char* file; TEnc encoding; TUniType uniType; };

QStringList ExpectedLines(const TRoundTrip& c)
{
    QStringList lines = SampleLines();
    if (QString::fromLatin1(c.file).contains(QStringLiteral("_bom")))
        lines[0].prepend(QChar(0xFEFF));
    return lines;
}

class RoundTripTest : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(RoundTripTest, DetectedOrChosenByHandLoadsAndSavesBackByteForByte)
{
    const TRoundTrip& c = GetParam();
    TTestDir dir;
    const QString saved = dir.Path(QStringLiteral("saved.txt"));
    {
        TTestEditor editor;
        editor.SetDosAdd(daUNI);
        // Windows text can score as Macintosh Cyrillic, which is why the program's
        // default takes such an answer as Windows; only the Mac sample needs it off.
        editor.ExceptMac = c.encoding != Mac;
        editor.Lines()->LoadFromFile(Sample(c.file));
        EXPECT_EQ(editor.Encoding(), c.encoding);
        EXPECT_EQ(editor.UniType(), c.uniType);
        EXPECT_FALSE(editor.LoadedDosAsUnicode);
        EXPECT_EQ(editor.Lines()->ToStringList(), ExpectedLines(c));
        editor.Lines()->SaveToFile(saved);
        EXPECT_EQ(ReadBytes(saved), ReadBytes(Sample(c.file)));
        if (c.encoding == Mac) {
            editor.ExceptMac = true;
            editor.Lines()->LoadFromFile(Sample(c.file));
            EXPECT_EQ(editor.Encoding(), Win);
        }
    }
    TTestEditor editor;
    editor.SetAutoEncoding(false);
    editor.SetEncoding(c.encoding);
    editor.SetUniType(c.uniType);
    editor.Lines()->LoadFromFile(Sample(c.file));
    EXPECT_EQ(editor.Lines()->ToStringList(), ExpectedLines(c));
    editor.Lines()->SaveToFile(saved);
    EXPECT_EQ(ReadBytes(saved), ReadBytes(Sample(c.file)));
}

INSTANTIATE_TEST_SUITE_P(Encodings, RoundTripTest,
                         ::testing::Values(TRoundTrip{"letters_cp866_crlf.txt", Dos, Little},
                                           TRoundTrip{"letters_cp1251_crlf.txt", Win, Little},
                                           TRoundTrip{"letters_koi8r_crlf.txt", Koi, Little},
                                           TRoundTrip{"letters_maccyrillic_crlf.txt", Mac, Little},
                                           TRoundTrip{"letters_iso8859-5_crlf.txt", Iso, Little},
                                           TRoundTrip{"letters_utf16le_crlf.txt", Uni, Little},
                                           TRoundTrip{"letters_utf16be_crlf.txt", Uni, Big},
                                           // The mark stays as the first (invisible) character.
                                           TRoundTrip{"letters_utf16le_bom_crlf.txt", Uni, Little}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

// The main window's Decoding command: cache the bytes in the encoding the text was
// read with, then decode the same bytes under each new choice.
void Reinterpret(TqxEditor& editor, TEnc readWith, TEnc newEncoding)
{
    editor.SetEncoding(readWith);
    editor.TempStream()->Refresh();
    editor.SetEncoding(newEncoding);
    editor.TempStream()->Memory.SetPosition(0);
    editor.Lines()->LoadFromStream(editor.TempStream()->Memory);
}

TEST(RoundTrip, ReinterpretingThroughTheByteCacheReturnsToTheStart)
{
    TTestEditor editor;
    editor.SetAutoEncoding(false);
    editor.SetEncoding(Koi);
    editor.Lines()->LoadFromFile(Sample(QStringLiteral("letters_koi8r_crlf.txt")));
    editor.TempStream()->Invalidate();
    ASSERT_EQ(editor.Lines()->ToStringList(), SampleLines());

    for (const TEnc other : {Dos, Iso, Koi}) {
        Reinterpret(editor, Koi, other);
        EXPECT_EQ(editor.Lines()->ToStringList() == SampleLines(), other == Koi) << int(other);
    }
    EXPECT_EQ(editor.TempStream()->Memory.Bytes(), ReadBytes(Sample(QStringLiteral("letters_koi8r_crlf.txt"))));
}

void ExpectSampleFormats(TqxEditor& editor)
{
    ASSERT_EQ(editor.Lines()->Get(0), QStringLiteral("Жирный и курсив и красный и волна."));
    EXPECT_EQ(editor.Lines()->Get(1), QStringLiteral("По центру"));
    platform::RichEdit* window = editor.Window();
    window->ExSetSel({0, 6});
    EXPECT_EQ(editor.SelAttributes()->Style(), TFontStyles{TFontStyle::fsBold});
    EXPECT_EQ(editor.SelAttributes()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(editor.SelAttributes()->Size(), 12);
    window->ExSetSel({9, 15});
    EXPECT_EQ(editor.SelAttributes()->Style(), TFontStyles{TFontStyle::fsItalic});
    window->ExSetSel({18, 25});
    EXPECT_EQ(editor.SelAttributes()->Color(), 0x0000FF); // red, as the colour table says
    window->ExSetSel({28, 33});
    EXPECT_EQ(editor.SelAttributes()->UnderlineType(), platform::CFU_UNDERLINEWAVE);
    window->ExSetSel({36, 36});
    EXPECT_EQ(editor.Paragraph()->Alignment(), 2);
}

TEST(RoundTrip, RtfLoadsWithItsFormatsAndSavesAsRtf)
{
    TTestDir dir;
    TTestEditor editor;
    editor.Lines()->LoadFromFile(Sample(QStringLiteral("formatted_cp1251.rtf")));
    EXPECT_EQ(editor.Encoding(), Rtf);
    ExpectSampleFormats(editor);

    const QString saved = dir.Path(QStringLiteral("saved.rtf"));
    editor.Lines()->SaveToFile(saved);
    const TBytes bytes = ReadBytes(saved);
    ASSERT_GE(bytes.size(), 5u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "{\\rtf");

    TTestEditor again;
    again.Lines()->LoadFromFile(saved);
    EXPECT_EQ(again.Encoding(), Rtf);
    ExpectSampleFormats(again);
}

TEST(DosGraphics, FramesBecomeUnicodeOnlyInModeUniAndOnlyForDosText)
{
    const QString frames = Sample(QStringLiteral("frames_cp866_crlf.txt"));
    TTestEditor editor;
    editor.SetDosAdd(daUNI);
    editor.Lines()->LoadFromFile(frames);
    EXPECT_EQ(std::tuple(editor.LoadedDosAsUnicode, editor.Encoding(), editor.UniType()), std::tuple(true, Uni, Little));
    EXPECT_EQ(editor.Lines()->ToStringList().mid(0, 3),
              (QStringList{QStringLiteral("Отчёт о работе за месяц"), QStringLiteral("╔══════════╦═══════╗"),
                           QStringLiteral("║ Название ║ Число ║")}));
    EXPECT_TRUE(editor.TempStream()->Stale);
    EXPECT_EQ(editor.TempStream()->Memory.Size(), 0);

    // Chosen by hand: DOS is widened, Windows is not.
    editor.SetAutoEncoding(false);
    editor.SetEncoding(Dos);
    editor.Lines()->LoadFromFile(frames);
    EXPECT_TRUE(editor.LoadedDosAsUnicode);
    EXPECT_EQ(editor.Encoding(), Uni);
    editor.SetEncoding(Win);
    editor.Lines()->LoadFromFile(frames);
    EXPECT_FALSE(editor.LoadedDosAsUnicode);
    EXPECT_EQ(editor.Encoding(), Win);

    editor.SetAutoEncoding(true);
    editor.SetDosAdd(daNone);
    editor.Lines()->LoadFromFile(frames);
    EXPECT_FALSE(editor.LoadedDosAsUnicode);
    EXPECT_EQ(editor.Encoding(), Dos);
    EXPECT_EQ(editor.Lines()->Get(0), QStringLiteral("Отчёт о работе за месяц"));
    // 0xC9 0xCD pass DosToWin unchanged and read as Windows-1251 letters.
    EXPECT_TRUE(editor.Lines()->Get(1).startsWith(QStringLiteral("ЙННН")));
}

} // namespace
