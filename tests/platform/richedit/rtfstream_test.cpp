// SPDX-License-Identifier: GPL-3.0-or-later
// RTF through the control's streams: plain text saved as RTF and read back,
// whole texts and selections, cycle after cycle.
#include "richedit.h"
#include "testsupport.h"

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
        QByteArray first;
        for (int cycle = 1; cycle <= 3; ++cycle) {
            const QByteArray rtf = StreamOut(edit, SF_RTF);
            if (cycle == 1)
                first = rtf;
            EXPECT_EQ(rtf, first) << "cycle " << cycle;
            StreamIn(edit, SF_RTF, rtf);
            ASSERT_EQ(StreamOut(edit, SF_TEXT), plain) << "cycle " << cycle << "\n" << rtf.constData();
        }
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

TEST(RtfStream, AUtf16ByteOrderMarkDoesNotReachTheRtf)
{
    RichEdit edit;
    StreamIn(edit, SF_TEXT | SF_UNICODE, Utf16(u"\uFEFFПривет"_qs));
    ASSERT_EQ(edit.GetTextRange(0, -1), u"\uFEFFПривет"_qs);
    const QByteArray rtf = StreamOut(edit, SF_RTF);
    EXPECT_FALSE(rtf.contains("\\u-257")) << rtf.constData();
    StreamIn(edit, SF_RTF, rtf);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"Привет"_qs);
}

bool IsLink(RichEdit& edit, std::int32_t from, std::int32_t to)
{
    edit.SetSel(from, to);
    const CHARFORMAT2 format = edit.GetCharFormat(SCF_SELECTION);
    return (format.dwMask & CFM_LINK) && (format.dwEffects & CFE_LINK);
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

    QByteArray rtf = StreamOut(edit, SF_RTF);
    for (int cycle = 1; cycle <= 3; ++cycle) {
        EXPECT_EQ(rtf.count("HYPERLINK"), 1) << rtf.constData();
        EXPECT_TRUE(rtf.contains("HYPERLINK \"http://a.ru/\"")) << rtf.constData();
        EXPECT_TRUE(rtf.contains("www.example.com")) << rtf.constData();
        StreamIn(edit, SF_RTF, rtf);
        const QByteArray again = StreamOut(edit, SF_RTF);
        EXPECT_EQ(again, rtf) << "cycle " << cycle;
        rtf = again;
    }
    // Typed, an address is a link on the screen and plain text in the file.
    edit.SetText(u"mail me at mailto:someone@example.com"_qs);
    EXPECT_FALSE(StreamOut(edit, SF_RTF).contains("HYPERLINK"));
}

} // namespace
