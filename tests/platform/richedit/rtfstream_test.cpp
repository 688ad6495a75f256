// SPDX-License-Identifier: GPL-3.0-or-later
// RTF through the control's streams: plain text saved as RTF and read back,
// whole texts and selections, cycle after cycle; formats saved as they are shown.
#include "richedit.h"
#include "rtfreader.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

TEST(RtfStream, PlainTextSavedAsRtfComesBackWithEveryLineEnd)
{
    for (const QByteArray& plain : {QByteArray("a\r\nb\r\n"), QByteArray("a\r\nb"), QByteArray("\r\n\r\n"),
                                    QByteArray("a\r\n\r\n\r\n"), QByteArray()}) {
        RichEdit edit;
        StreamIn(edit, SF_TEXT, plain);
        ExpectSameRtfEveryCycle(edit, [](RichEdit& e) { return QString::fromLatin1(StreamOut(e, SF_TEXT)); });
        EXPECT_EQ(StreamOut(edit, SF_TEXT), plain);
    }
}

TEST(RtfStream, ASelectionWrittenAndReadBackChangesNothing)
{
    const QByteArray plain = "one\r\ntwo\r\n\r\nthree\r\n";
    RichEdit edit;
    StreamIn(edit, SF_TEXT, plain);
    const std::int32_t length = edit.GetTextLength();
    for (std::int32_t from = 0; from <= length; ++from) {
        for (std::int32_t to = from; to <= length; ++to) {
            edit.SetSel(from, to);
            const QByteArray rtf = StreamOut(edit, SF_RTF | SFF_SELECTION);
            StreamIn(edit, SF_RTF | SFF_SELECTION, rtf);
            ASSERT_EQ(StreamOut(edit, SF_TEXT), plain) << from << ".." << to << "\n" << rtf.constData();
        }
    }
}

TEST(RtfStream, DetectedAddressesAreSavedAsTheirTextAndFieldLinksStayFields)
{
    RichEdit edit;
    edit.AutoUrlDetect(true);
    // The field's shown text is an address too, but not the one it leads to.
    StreamIn(edit, SF_RTF,
             QByteArray("{\\rtf1\\ansi see www.example.com or {\\field{\\*\\fldinst{HYPERLINK \"http://a.ru/\"}}"
                        "{\\fldrslt{http://b.ru}}} now}"));
    const QString text = edit.GetTextRange(0, -1);
    ASSERT_EQ(text, u"see www.example.com or http://b.ru now"_qs);
    const auto at = [&](const char* word) { return std::int32_t(text.indexOf(QLatin1String(word))); };
    EXPECT_TRUE(IsLink(edit, at("www"), at(" or")));
    EXPECT_TRUE(IsLink(edit, at("http"), at(" now")));

    const QByteArray rtf = ExpectSameRtfEveryCycle(edit, [](RichEdit& e) { return e.GetTextRange(0, -1); });
    EXPECT_EQ(rtf.count("HYPERLINK"), 1) << rtf.constData();
    EXPECT_TRUE(rtf.contains("HYPERLINK \"http://a.ru/\"")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("www.example.com")) << rtf.constData();
    // Typed, an address is a link on the screen and plain text in the file.
    edit.SetText(u"mail me at mailto:someone@example.com"_qs);
    EXPECT_FALSE(StreamOut(edit, SF_RTF).contains("HYPERLINK"));
}

CHARFORMAT2 Effects(std::uint32_t mask, std::uint32_t effects)
{
    CHARFORMAT2 format;
    format.dwMask = mask;
    format.dwEffects = effects;
    return format;
}

// "bold italic": how each of the words "один два три" is shown.
QString Styles(RichEdit& edit)
{
    QStringList styles;
    for (const auto& [from, to] : {std::pair{0, 4}, std::pair{5, 8}, std::pair{9, 12}}) {
        edit.SetSel(from, to);
        const CHARFORMAT2 f = edit.GetCharFormat(SCF_SELECTION);
        styles << QString::fromLatin1((f.dwEffects & CFE_BOLD) ? "bold" : "plain")
                      + QString::fromLatin1((f.dwEffects & CFE_ITALIC) ? " italic" : "");
    }
    return styles.join(u", ");
}

// With a bold window font, taking bold off a word shows it plain and saves it
// plain; making a word italic keeps it bold as it was shown, no more. Another
// reader, which knows nothing of the window's font, sees the same.
TEST(RtfStream, WordsAreSavedAsShownWhateverTheWindowFont)
{
    RichEdit edit;
    edit.SetCharFormat(SCF_DEFAULT, Effects(CFM_BOLD, CFE_BOLD));
    StreamIn(edit, SF_TEXT, Cp1251(u"один два три"_qs));
    edit.SetSel(5, 8);
    edit.SetCharFormat(SCF_SELECTION, Effects(CFM_BOLD, 0));
    edit.SetSel(9, 12);
    edit.SetCharFormat(SCF_SELECTION, Effects(CFM_BOLD | CFM_ITALIC, CFE_BOLD | CFE_ITALIC));
    const QString shown = u"bold, plain, bold italic"_qs;
    ASSERT_EQ(Styles(edit), shown);

    const QByteArray rtf = ExpectSameRtfEveryCycle(edit, Styles);
    QTextDocument elsewhere;
    QTextCursor cursor(&elsewhere);
    ASSERT_TRUE(ReadRtf(rtf, cursor));
    QStringList weights;
    for (const int at : {1, 6, 10}) {
        QTextCursor c(&elsewhere);
        c.setPosition(at);
        weights << QString::number(c.charFormat().fontWeight());
    }
    EXPECT_EQ(weights.join(u' '), u"700 400 700"_qs) << rtf.constData();
}

// The number of a paragraph the user numbered stays where it was shown after
// saving and opening again, and the RTF gives readers of lists and readers of
// paragraphs one and the same indent.
TEST(RtfStream, ANumberedParagraphKeepsItsPlaceThroughSaveAndOpen)
{
    RichEdit edit;
    StreamIn(edit, SF_TEXT, Cp1251(u"первый\r\nвторой"_qs));
    edit.SetSel(0, -1);
    PARAFORMAT2 numbered;
    numbered.dwMask = PFM_NUMBERINGSTART | PFM_NUMBERINGTAB;
    numbered.wNumberingStart = 1;
    numbered.wNumberingTab = 200;
    edit.SetParaFormat(numbered);
    numbered.dwMask = PFM_NUMBERING | PFM_NUMBERINGSTYLE;
    numbered.wNumbering = PFN_ARABIC;
    numbered.wNumberingStyle = PFNS_PERIOD;
    edit.SetParaFormat(numbered);
    // Where the text of each paragraph starts, in pixels.
    const auto textStart = [](RichEdit& edit) {
        QStringList starts;
        for (QTextBlock b = edit.Document()->begin(); b.isValid(); b = b.next()) {
            const QTextList* list = b.textList();
            const double indent = list ? list->format().indent() * edit.Document()->indentWidth() : 0;
            starts << QString::number(b.blockFormat().leftMargin() + b.blockFormat().textIndent() + indent);
        }
        return starts.join(u' ');
    };
    const QString shown = textStart(edit);
    const QByteArray rtf = ExpectSameRtfEveryCycle(edit, textStart);
    // The list's level and each paragraph say the indents shown: the text where
    // it starts, the number that far before it.
    const int textTwips = qRound(shown.section(u' ', 0, 0).toDouble() * 15);
    const QByteArray indents = "\\fi-" + QByteArray::number(textTwips) + "\\li" + QByteArray::number(textTwips);
    EXPECT_EQ(rtf.count("\\pard" + indents + ' '), 2) << rtf.constData();
    EXPECT_TRUE(rtf.contains(indents + "\\jclisttab\\tx" + QByteArray::number(textTwips))) << rtf.constData();
}

} // namespace
