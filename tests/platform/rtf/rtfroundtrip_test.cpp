// SPDX-License-Identifier: GPL-3.0-or-later
// Documents built the way the control builds them, tables in tables included,
// written as RTF and read back: the text and every format must come back unchanged.
#include "richeditconsts.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// One character's format as the control's queries see it.
QString CharRecord(const QTextCharFormat& f, const QTextDocument& d)
{
    const QStringList families = f.fontFamilies().toStringList();
    const QString family = families.isEmpty() ? d.defaultFont().family() : families.first();
    const double size = f.fontPointSize() > 0 ? f.fontPointSize() : d.defaultFont().pointSizeF();
    return QStringLiteral("%1|%2|b%3 i%4 s%5 u%6|fg%7 %8|bg%9 %10|va%11 off%12|caps%13 sc%14 v%15 p%16|lang%17|link%18|cs%19")
        .arg(family)
        .arg(size)
        .arg(f.fontWeight() >= QFont::Bold)
        .arg(f.fontItalic())
        .arg(f.fontStrikeOut())
        .arg(f.property(PropUnderlineType).toInt())
        .arg(f.foreground().style() == Qt::NoBrush ? QStringLiteral("-") : f.foreground().color().name())
        .arg(f.property(PropAutoColor).toBool())
        .arg(f.background().style() == Qt::NoBrush ? QStringLiteral("-") : f.background().color().name())
        .arg(f.property(PropAutoBackColor).toBool())
        .arg(int(f.verticalAlignment()))
        .arg(f.property(PropOffsetTwips).toInt())
        .arg(f.property(PropAllCaps).toBool())
        .arg(f.property(PropSmallCaps).toBool())
        .arg(f.property(PropHidden).toBool())
        .arg(f.property(PropProtected).toBool())
        .arg(f.property(PropLcid).toInt())
        .arg(f.anchorHref())
        .arg(f.hasProperty(PropCharset) ? f.property(PropCharset).toInt() : 204);
}

QString BlockRecord(QTextBlockFormat f)
{
    // A numbered paragraph's lines start where its text does after the number,
    // and it is saved so: its indents count as laid out.
    if (f.intProperty(PropNumbering) != 0) {
        const int start = f.intProperty(PropStartIndentTwips);
        const int offset = f.intProperty(PropOffsetTwipsPara);
        f.setProperty(PropOffsetTwipsPara,
                      NumberedTextStartTwips(start + offset, -offset, f.intProperty(PropNumberingTab)) - start);
    }
    QString out = QStringLiteral("a%1").arg(int(f.alignment() & Qt::AlignHorizontal_Mask));
    for (int p : {int(PropNumbering), int(PropNumberingStyle), int(PropNumberingStart), int(PropNumberingTab),
                  int(PropStartIndentTwips), int(PropOffsetTwipsPara), int(PropRightIndentTwips),
                  int(PropLineSpacingRule), int(PropLineSpacingTwips), int(PropSpaceBeforeTwips),
                  int(PropSpaceAfterTwips)})
        out += QStringLiteral(" %1").arg(f.property(p).toInt());
    for (const QTextOption::Tab& t : f.tabPositions())
        out += QStringLiteral(" t%1").arg(qRound(t.position * 15));
    return out;
}

// Every character with its format, every paragraph with its format.
QStringList Describe(const QTextDocument& d)
{
    QStringList out;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        out << QStringLiteral("P %1").arg(BlockRecord(b.blockFormat()));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QString record = CharRecord(f.charFormat(), d);
            for (QChar c : f.text())
                out << QStringLiteral("%1 %2").arg(c.unicode(), 4, 16).arg(record);
        }
    }
    return out;
}

class RandomDocument {
public:
    explicit RandomDocument(quint32 seed) : random_(seed) {}

    void Build(QTextDocument& d)
    {
        QTextCursor c(&d);
        const int paragraphs = Pick(3, 12);
        for (int p = 0; p < paragraphs; ++p) {
            if (Pick(0, 6) == 0) {
                BuildTable(c);
                continue;
            }
            if (p > 0)
                c.insertBlock();
            c.setBlockFormat(BlockFormat());
            const int runs = Pick(1, 6);
            for (int r = 0; r < runs; ++r)
                c.insertText(Text(), CharFormat());
        }
    }

private:
    int Pick(int lo, int hi) { return int(random_.bounded(lo, hi + 1)); }
    bool Coin() { return random_.bounded(2) == 1; }

    QString Text()
    {
        static const QStringList pieces = {
            QStringLiteral(u"Съешь же ещё этих мягких французских булок"), QStringLiteral("quick brown fox"),
            QStringLiteral(u"Ёлка ёж ЪЬ"), QStringLiteral(u"αβγ"), QStringLiteral(u"€ № «»"), QStringLiteral(u"日本"),
            QStringLiteral(u"\U0001F600"), QStringLiteral("a\tb"), QStringLiteral(u"x\u2028y"),
            QStringLiteral("{braces} \\back\\"), QStringLiteral(u"\u00A0nbsp\u00ADsoft\u2011hy"),
            QStringLiteral(u"Ї є ґ ў"), QStringLiteral("1234567890")};
        QString out;
        const int n = Pick(1, 3);
        for (int i = 0; i < n; ++i)
            out += pieces[Pick(0, int(pieces.size()) - 1)] + u' ';
        return out;
    }

    QTextCharFormat CharFormat()
    {
        static const QStringList families = {"Times New Roman", "Arial", "Courier New", "Liberation Serif"};
        QTextCharFormat f;
        if (Coin())
            f.setFontFamilies({families[Pick(0, 3)]});
        if (Coin())
            f.setFontPointSize(Pick(12, 72) / 2.0);
        if (Coin())
            f.setFontWeight(QFont::Bold);
        if (Coin())
            f.setFontItalic(true);
        if (Pick(0, 4) == 0)
            f.setFontStrikeOut(true);
        if (Pick(0, 3) == 0) {
            const int kind = Pick(1, 9);
            f.setProperty(PropUnderlineType, kind);
            f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        }
        switch (Pick(0, 6)) {
        case 0: f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); break;
        case 1: f.setVerticalAlignment(QTextCharFormat::AlignSubScript); break;
        case 2: {
            const int offset = Pick(-20, 20) * 10;
            if (offset != 0) {
                f.setProperty(PropOffsetTwips, offset);
                f.setVerticalAlignment(offset > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
            }
            break;
        }
        default: break;
        }
        if (Pick(0, 2) == 0)
            f.setForeground(QColor(Pick(0, 255), Pick(0, 255), Pick(0, 255)));
        else if (Pick(0, 5) == 0)
            f.setProperty(PropAutoColor, true);
        if (Pick(0, 4) == 0)
            f.setBackground(QColor(Pick(0, 255), Pick(0, 255), Pick(0, 255)));
        if (Pick(0, 6) == 0) {
            f.setProperty(PropAllCaps, true);
            f.setFontCapitalization(QFont::AllUppercase);
        }
        if (Pick(0, 6) == 0) {
            f.setProperty(PropSmallCaps, true);
            f.setFontCapitalization(QFont::SmallCaps);
        }
        if (Pick(0, 8) == 0)
            f.setProperty(PropHidden, true);
        if (Pick(0, 8) == 0)
            f.setProperty(PropProtected, true);
        if (Pick(0, 3) == 0)
            f.setProperty(PropLcid, Coin() ? 1049 : 1033);
        if (Pick(0, 3) == 0)
            f.setProperty(PropCharset, Coin() ? 204 : 0);
        if (Pick(0, 8) == 0) {
            f.setAnchor(true);
            f.setAnchorHref(QStringLiteral(u"http://пример.рф/путь?q=\"1\"&x=\\"));
            f.setProperty(PropLink, true);
        }
        return f;
    }

    QTextBlockFormat BlockFormat()
    {
        QTextBlockFormat f;
        static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
        f.setAlignment(alignments[Pick(0, 3)]);
        if (Coin()) {
            const int start = Pick(0, 40) * 36;
            const int offset = Pick(-10, 10) * 36;
            if (start)
                f.setProperty(PropStartIndentTwips, start);
            if (offset)
                f.setProperty(PropOffsetTwipsPara, offset);
        }
        if (Pick(0, 3) == 0)
            f.setProperty(PropRightIndentTwips, Pick(1, 40) * 36);
        if (Pick(0, 3) == 0)
            f.setProperty(PropSpaceBeforeTwips, Pick(1, 20) * 20);
        if (Pick(0, 3) == 0)
            f.setProperty(PropSpaceAfterTwips, Pick(1, 20) * 20);
        switch (Pick(0, 7)) {
        case 1: f.setProperty(PropLineSpacingRule, 1); break;
        case 2: f.setProperty(PropLineSpacingRule, 2); break;
        case 3: f.setProperty(PropLineSpacingRule, 3); f.setProperty(PropLineSpacingTwips, Pick(1, 50) * 20); break;
        case 4: f.setProperty(PropLineSpacingRule, 4); f.setProperty(PropLineSpacingTwips, Pick(1, 50) * 20); break;
        case 5: f.setProperty(PropLineSpacingRule, 5); f.setProperty(PropLineSpacingTwips, Pick(1, 4) * 10 + 5); break;
        default: break;
        }
        if (Pick(0, 4) == 0) {
            QList<QTextOption::Tab> tabs;
            for (int i = 1; i <= Pick(1, 4); ++i)
                tabs.append(QTextOption::Tab(i * 720 / 15.0, QTextOption::LeftTab));
            f.setTabPositions(tabs);
        }
        if (Pick(0, 3) == 0) {
            const int numbering = Pick(1, 6);
            f.setProperty(PropNumbering, numbering);
            if (numbering != PFN_BULLET) {
                static const int styles[] = {PFNS_PAREN, PFNS_PARENS, PFNS_PERIOD, PFNS_PLAIN};
                if (const int style = styles[Pick(0, 3)])
                    f.setProperty(PropNumberingStyle, style);
                f.setProperty(PropNumberingStart, Pick(1, 5));
            }
            if (Coin())
                f.setProperty(PropNumberingTab, Pick(1, 10) * 36);
        }
        return f;
    }

    // Cells hold a table of their own now and then, down to three levels.
    void BuildTable(QTextCursor& c, int level = 1)
    {
        const int rows = Pick(1, 3);
        const int columns = Pick(1, 4);
        QTextTableFormat format;
        QList<QTextLength> widths;
        for (int i = 0; i < columns; ++i)
            widths.append(QTextLength(QTextLength::FixedLength, Pick(40, 200) * 60 / 15.0));
        format.setColumnWidthConstraints(widths);
        format.setProperty(PropTableLeftTwips, -Pick(0, 10) * 10);
        format.setProperty(PropTableGapTwips, Pick(0, 10) * 10);
        QTextTable* table = c.insertTable(rows, columns, format);
        for (int r = 0; r < rows; ++r) {
            for (int k = 0; k < columns; ++k) {
                QTextCursor cell = table->cellAt(r, k).firstCursorPosition();
                if (level < 3 && Pick(0, 5) == 0)
                    BuildTable(cell, level + 1);
                const int paragraphs = Pick(1, 2);
                for (int p = 0; p < paragraphs; ++p) {
                    if (p > 0)
                        cell.insertBlock();
                    QTextBlockFormat bf = BlockFormat();
                    bf.clearProperty(PropNumbering);
                    bf.clearProperty(PropNumberingStyle);
                    bf.clearProperty(PropNumberingStart);
                    bf.clearProperty(PropNumberingTab);
                    cell.setBlockFormat(bf);
                    cell.insertText(Text(), CharFormat());
                }
                if (level < 3 && Pick(0, 3) == 0) {
                    BuildTable(cell, level + 1);
                    if (Coin())
                        cell.insertText(Text(), CharFormat());
                }
            }
        }
        c.setPosition(table->lastPosition() + 1);
    }

    QRandomGenerator random_;
};

TEST(RtfRoundTrip, RandomDocumentsComeBackWithTheSameTextAndFormats)
{
    rtftest::EnsureApplication();
    for (quint32 seed = 1; seed <= 60; ++seed) {
        QTextDocument original;
        RandomDocument(seed).Build(original);
        const QByteArray rtf = WriteRtf(original);
        auto copy = rtftest::ReadDocument(rtf);
        ASSERT_EQ(copy->toRawText(), original.toRawText()) << "seed " << seed << "\n" << rtf.constData();
        const QStringList a = Describe(original);
        const QStringList b = Describe(*copy);
        ASSERT_EQ(a.size(), b.size()) << "seed " << seed;
        for (int i = 0; i < a.size(); ++i)
            ASSERT_EQ(a[i], b[i]) << "seed " << seed << " item " << i << "\n" << rtf.constData();
        // From the first reading on, writing and reading again changes nothing.
        const QByteArray again = WriteRtf(*copy);
        EXPECT_EQ(WriteRtf(*rtftest::ReadDocument(again)).toStdString(), again.toStdString()) << "seed " << seed;
    }
}

TEST(RtfRoundTrip, TablesKeepTheirCellBoundaries)
{
    const QByteArray rtf = "{\\rtf1\\ansi\\deff0\\trowd\\trgaph50\\trleft-50\\cellx1160\\cellx2900\\pard\\intbl\\f1 a\\f0\\cell\\f1 b"
                           "\\f0\\cell\\row\r}";
    auto first = rtftest::ReadDocument(rtf);
    const QByteArray written = WriteRtf(*first);
    QByteArray boundaries = written;
    boundaries.replace("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10", "");
    EXPECT_TRUE(boundaries.contains("\\trowd\\trgaph50\\trleft-50\\cellx1160\\cellx2900")) << written.constData();
    auto second = rtftest::ReadDocument(written);
    EXPECT_EQ(second->toRawText(), first->toRawText());
}

} // namespace

TEST(RtfRoundTrip, ALongTableHeldInBlocksComesBackAsTheSameBlocksEveryCycle)
{
    // Rows in blocks of their own are one table: written back, every row is there
    // once, in order, and reads back into the same blocks, cycle after cycle.
    QByteArray rtf = "{\\rtf1\\ansi\\deff0 before\\par ";
    for (int r = 0; r < 450; ++r)
        rtf += "\\trowd\\cellx1000\\cellx2000\\pard\\intbl r" + QByteArray::number(r) + "\\cell x\\cell\\row\r";
    rtf += "\\pard after\\par}";
    const QByteArray written = rtftest::ExpectSameEveryCycle(rtf, [](const QTextDocument& d) { return d.toRawText(); });
    EXPECT_EQ(written.count("\\row"), 450);
}
