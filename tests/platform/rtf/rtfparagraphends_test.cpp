// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraph ends through reading and writing: the \par that closes the last
// paragraph, empty last paragraphs, and ranges read into the middle of a text.
#include "rtfreader.h"
#include "rtfwriter.h"
#include "testsupport_rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(RtfParagraphEnds, EveryCycleKeepsTheParagraphsEmptyLastOnesIncluded)
{
    struct Case {
        QByteArray rtf;
        QString text;
    };
    const Case cases[] = {
        {"{\\rtf1 a\\par b\\par \\par}", QStringLiteral("a\nb\n")},
        {"{\\rtf1 a\\par b\\par}", QStringLiteral("a\nb")},
        {"{\\rtf1 a\\par b}", QStringLiteral("a\nb")},
        {"{\\rtf1 \\par\\par\\par}", QStringLiteral("\n\n")},
        {"{\\rtf1 \\par}", QString()},
        {"{\\rtf1 }", QString()},
        {"{\\rtf1 a\\par{\\*\\ignored x}\\par}", QStringLiteral("a\n")},
        // The last \par of a group-wrapped paragraph, as Word writes it.
        {"{\\rtf1 {a\\par }{\\par }}", QStringLiteral("a\n")},
        // After a table: the paragraph Qt keeps after every table, then one more.
        {"{\\rtf1 a\\par\\trowd\\cellx1000\\pard\\intbl x\\cell\\row\\pard\\par\\par}", QStringLiteral("a\nx\n\n")},
        {"{\\rtf1 {\\*\\pn\\pnlvlbody\\pndec\\pnstart5{\\pntxta .}}\\fi-360\\li720 a\\par b\\par\\pard\\par}",
         QStringLiteral("a\nb\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf.constData());
        EXPECT_EQ(rtftest::Text(*rtftest::ReadDocument(c.rtf)), c.text);
        rtftest::ExpectSameEveryCycle(c.rtf, rtftest::Text);
    }
}

TEST(RtfParagraphEnds, TheEmptyLastParagraphKeepsItsFormat)
{
    auto document = rtftest::ReadDocument("{\\rtf1 a\\par\\pard\\qc\\sb240 \\par}");
    ASSERT_EQ(document->blockCount(), 2);
    EXPECT_EQ(document->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    auto copy = rtftest::ReadDocument(WriteRtf(*document));
    ASSERT_EQ(copy->blockCount(), 2);
    EXPECT_EQ(copy->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

// Any range written and read in place of a selection gives back exactly its
// characters, wherever it starts and ends, at the end of the text as well.
TEST(RtfParagraphEnds, AnyRangeReadIntoATextInsertsExactlyItsCharacters)
{
    rtftest::EnsureApplication();
    QTextDocument source;
    source.setPlainText(QStringLiteral(u"ab\n\nвг\n"));
    const QString raw = source.toRawText();
    const int end = source.characterCount() - 1;
    for (int from = 0; from <= end; ++from) {
        for (int to = from; to <= end; ++to) {
            const QByteArray rtf = WriteRtf(source, from, to);
            for (const bool atEnd : {false, true}) {
                QTextDocument target;
                target.setPlainText(QStringLiteral("XY"));
                QTextCursor cursor(&target);
                cursor.setPosition(atEnd ? 2 : 1);
                ASSERT_TRUE(ReadRtf(rtf, cursor));
                const QString expected = atEnd ? QStringLiteral("XY") + raw.mid(from, to - from)
                                               : QStringLiteral("X") + raw.mid(from, to - from) + QStringLiteral("Y");
                ASSERT_EQ(target.toRawText(), expected) << "range " << from << ".." << to << "\n" << rtf.constData();
            }
        }
    }
}

} // namespace
