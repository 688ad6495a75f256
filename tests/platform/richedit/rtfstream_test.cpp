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

} // namespace
