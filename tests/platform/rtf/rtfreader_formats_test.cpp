// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader on character and paragraph formats, stored as textproperties.h says.
#include "listnumbers.h"
#include "richeditconsts.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

#include <functional>

using namespace platform;
using rtftest::BlockFormatOf;
using rtftest::CharFormatOf;
using rtftest::ReadDocument;

namespace {

const QByteArray Header =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}"
    "{\\f1\\fmodern\\fprq1\\fcharset204 Courier New CYR;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

struct CharCase {
    const char* name;
    QByteArray body;   // the word "X" is checked
    std::function<bool(const QTextCharFormat&)> check;
};

TEST(RtfReaderFormats, CharacterFormatsAndEveryUnderlineKind)
{
    const CharCase cases[] = {
        {"bold", "\\b X", [](const QTextCharFormat& f) { return f.fontWeight() == QFont::Bold; }},
        {"bold off", "\\b\\b0 X", [](const QTextCharFormat& f) { return f.fontWeight() != QFont::Bold; }},
        {"italic", "\\i X", [](const QTextCharFormat& f) { return f.fontItalic(); }},
        {"strike", "\\strike X", [](const QTextCharFormat& f) { return f.fontStrikeOut(); }},
        {"size in half points", "\\fs28 X", [](const QTextCharFormat& f) { return f.fontPointSize() == 14.0; }},
        {"enormous size is clamped", "\\fs99999999999 X", [](const QTextCharFormat& f) { return f.fontPointSize() == 1638.0; }},
        {"font and charset", "\\f1 X",
         [](const QTextCharFormat& f) {
             return f.fontFamilies().toStringList() == QStringList{"Courier New"} && f.property(PropCharset).toInt() == 204
                 && f.property(PropPitchAndFamily).toInt() == 0x31;
         }},
        {"default font", "X", [](const QTextCharFormat& f) { return f.fontFamilies().toStringList() == QStringList{"Times New Roman"}; }},
        {"colour", "\\cf1 X", [](const QTextCharFormat& f) { return f.foreground().color() == QColor(255, 0, 0); }},
        {"automatic colour", "\\cf0 X",
         [](const QTextCharFormat& f) { return f.property(PropAutoColor).toBool() && f.foreground().style() == Qt::NoBrush; }},
        {"highlight", "\\highlight2 X", [](const QTextCharFormat& f) { return f.background().color() == QColor(0, 0, 255); }},
        {"cb", "\\cb1 X", [](const QTextCharFormat& f) { return f.background().color() == QColor(255, 0, 0); }},
        {"chcbpat", "\\chcbpat2 X", [](const QTextCharFormat& f) { return f.background().color() == QColor(0, 0, 255); }},
        {"superscript", "\\super X", [](const QTextCharFormat& f) { return f.verticalAlignment() == QTextCharFormat::AlignSuperScript; }},
        {"subscript", "\\sub X", [](const QTextCharFormat& f) { return f.verticalAlignment() == QTextCharFormat::AlignSubScript; }},
        {"nosupersub", "\\super\\nosupersub X", [](const QTextCharFormat& f) { return f.verticalAlignment() == QTextCharFormat::AlignNormal; }},
        {"up", "\\up6 X",
         [](const QTextCharFormat& f) {
             return f.property(PropOffsetTwips).toInt() == 60 && f.verticalAlignment() == QTextCharFormat::AlignSuperScript;
         }},
        {"dn", "\\dn4 X", [](const QTextCharFormat& f) { return f.property(PropOffsetTwips).toInt() == -40; }},
        {"all caps", "\\caps X",
         [](const QTextCharFormat& f) { return f.property(PropAllCaps).toBool() && f.fontCapitalization() == QFont::AllUppercase; }},
        {"small caps", "\\scaps X",
         [](const QTextCharFormat& f) { return f.property(PropSmallCaps).toBool() && f.fontCapitalization() == QFont::SmallCaps; }},
        {"hidden", "\\v X", [](const QTextCharFormat& f) { return f.property(PropHidden).toBool(); }},
        {"protected", "\\protect X", [](const QTextCharFormat& f) { return f.property(PropProtected).toBool(); }},
        {"language", "\\lang1049 X", [](const QTextCharFormat& f) { return f.property(PropLcid).toInt() == 1049; }},
        {"plain resets", "\\b\\i\\ul\\cf1\\plain X",
         [](const QTextCharFormat& f) {
             return f.fontWeight() != QFont::Bold && !f.fontItalic() && !f.hasProperty(PropUnderlineType)
                 && f.foreground().style() == Qt::NoBrush;
         }},
        {"group restores", "{\\b a}X", [](const QTextCharFormat& f) { return f.fontWeight() != QFont::Bold; }},
        {"hyperlink field",
         "{\\field{\\*\\fldinst{HYPERLINK \"http://example.ru/a b\"}}{\\fldrslt{\\ul X}}}",
         [](const QTextCharFormat& f) {
             return f.isAnchor() && f.anchorHref() == QLatin1String("http://example.ru/a b") && f.property(PropLink).toBool();
         }},
        {"text after a link is not a link", "{\\field{\\*\\fldinst HYPERLINK http://a.ru}{\\fldrslt a}} X",
         [](const QTextCharFormat& f) { return !f.isAnchor(); }},
    };
    for (const CharCase& c : cases) {
        auto document = ReadDocument(Header + c.body + "}");
        EXPECT_TRUE(c.check(CharFormatOf(*document, QStringLiteral("X")))) << c.name;
    }
    // Every underline kind, and \ulnone ending it.
    const std::pair<const char*, int> kinds[] = {
        {"ul", CFU_UNDERLINE}, {"ulw", CFU_UNDERLINEWORD}, {"uldb", CFU_UNDERLINEDOUBLE},
        {"uld", CFU_UNDERLINEDOTTED}, {"uldash", CFU_UNDERLINEDASH}, {"uldashd", CFU_UNDERLINEDASHDOT},
        {"uldashdd", CFU_UNDERLINEDASHDOTDOT}, {"ulwave", CFU_UNDERLINEWAVE}, {"ulth", CFU_UNDERLINETHICK},
    };
    for (const auto& [word, kind] : kinds) {
        auto document = ReadDocument(Header + "\\" + word + " X\\ulnone Y}");
        const QTextCharFormat x = CharFormatOf(*document, QStringLiteral("X"));
        EXPECT_EQ(x.property(PropUnderlineType).toInt(), kind) << word;
        EXPECT_NE(x.underlineStyle(), QTextCharFormat::NoUnderline) << word;
        EXPECT_FALSE(CharFormatOf(*document, QStringLiteral("Y")).hasProperty(PropUnderlineType)) << word;
    }
}

struct ParaCase {
    const char* name;
    QByteArray words;
    std::function<bool(const QTextBlockFormat&)> check;
};

int Prop(const QTextBlockFormat& f, int p) { return f.property(p).toInt(); }

TEST(RtfReaderFormats, ParagraphFormats)
{
    const ParaCase cases[] = {
        {"centre", "\\qc", [](const QTextBlockFormat& f) { return f.alignment() == Qt::AlignHCenter; }},
        {"right", "\\qr", [](const QTextBlockFormat& f) { return f.alignment() == Qt::AlignRight; }},
        {"justify", "\\qj", [](const QTextBlockFormat& f) { return f.alignment() == Qt::AlignJustify; }},
        {"indents",
         "\\fi-360\\li720\\ri300",
         [](const QTextBlockFormat& f) {
             return Prop(f, PropStartIndentTwips) == 360 && Prop(f, PropOffsetTwipsPara) == 360
                 && Prop(f, PropRightIndentTwips) == 300 && f.leftMargin() == 48 && f.textIndent() == -24
                 && f.rightMargin() == 20;
         }},
        {"space", "\\sb120\\sa240",
         [](const QTextBlockFormat& f) { return Prop(f, PropSpaceBeforeTwips) == 120 && Prop(f, PropSpaceAfterTwips) == 240; }},
        {"one and a half", "\\sl360\\slmult1", [](const QTextBlockFormat& f) { return Prop(f, PropLineSpacingRule) == 1; }},
        {"double", "\\sl480\\slmult1", [](const QTextBlockFormat& f) { return Prop(f, PropLineSpacingRule) == 2; }},
        {"at least", "\\sl300\\slmult0",
         [](const QTextBlockFormat& f) { return Prop(f, PropLineSpacingRule) == 3 && Prop(f, PropLineSpacingTwips) == 300; }},
        {"exactly", "\\sl-300\\slmult0",
         [](const QTextBlockFormat& f) { return Prop(f, PropLineSpacingRule) == 4 && Prop(f, PropLineSpacingTwips) == 300; }},
        {"multiple", "\\sl600\\slmult1",
         [](const QTextBlockFormat& f) { return Prop(f, PropLineSpacingRule) == 5 && Prop(f, PropLineSpacingTwips) == 50; }},
        {"tabs", "\\tx720\\tx1440", [](const QTextBlockFormat& f) { return f.tabPositions().size() == 2; }},
        {"pard resets", "\\qc\\li720\\pard", [](const QTextBlockFormat& f) {
             return f.alignment() == Qt::AlignLeft && !f.hasProperty(PropStartIndentTwips);
         }},
    };
    for (const ParaCase& c : cases) {
        auto document = ReadDocument(Header + "\\pard" + c.words + " X\\par}");
        EXPECT_TRUE(c.check(BlockFormatOf(*document, QStringLiteral("X")))) << c.name;
    }
}

TEST(RtfReaderFormats, ParagraphStylesGiveStartingFormats)
{
    auto document = ReadDocument(Header +
        "{\\stylesheet{\\fs20\\lang1049\\snext0 Normal;}{\\s1\\qc\\sb240\\b\\f1\\fs32\\sbasedon0\\snext0 heading 1;}"
        "{\\*\\cs10\\additive\\i Default Paragraph Font;}}"
        "\\pard\\plain\\s1 Title\\par\\pard\\plain\\s1\\ql\\fs24 Left\\par\\pard\\plain\\s0 Body\\par}");
    const QTextCharFormat title = CharFormatOf(*document, QStringLiteral("Title"));
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_EQ(title.fontPointSize(), 16.0);
    EXPECT_EQ(title.fontFamilies().toStringList(), QStringList{"Courier New"});
    EXPECT_EQ(BlockFormatOf(*document, QStringLiteral("Title")).alignment(), Qt::AlignHCenter);
    EXPECT_EQ(Prop(BlockFormatOf(*document, QStringLiteral("Title")), PropSpaceBeforeTwips), 240);
    // Formats written after the style still win.
    EXPECT_EQ(BlockFormatOf(*document, QStringLiteral("Left")).alignment(), Qt::AlignLeft);
    EXPECT_EQ(CharFormatOf(*document, QStringLiteral("Left")).fontPointSize(), 12.0);
    const QTextCharFormat body = CharFormatOf(*document, QStringLiteral("Body"));
    EXPECT_EQ(body.fontPointSize(), 10.0);
    EXPECT_FALSE(body.fontItalic());
    EXPECT_EQ(body.property(PropLcid).toInt(), 1049);
}

TEST(RtfReaderFormats, LastParagraphWithoutMarkKeepsItsFormatInAnEmptyDocument)
{
    auto document = ReadDocument(Header + "\\pard\\qc A\\par\\pard\\qr B}");
    EXPECT_EQ(BlockFormatOf(*document, QStringLiteral("A")).alignment(), Qt::AlignHCenter);
    EXPECT_EQ(BlockFormatOf(*document, QStringLiteral("B")).alignment(), Qt::AlignRight);
    EXPECT_EQ(document->blockCount(), 2);
}

struct ListCase {
    const char* name;
    QByteArray pn;
    int numbering;
    int style;
    int start;
};

TEST(RtfReaderFormats, PnNumberingKindsStylesAndStarts)
{
    const ListCase cases[] = {
        {"bullet", "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent360{\\pntxtb\\'b7}}", PFN_BULLET, 0, 0},
        {"decimal with period", "{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}", PFN_ARABIC, PFNS_PERIOD, 1},
        {"letters with paren", "{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart1{\\pntxta )}}", PFN_LCLETTER, PFNS_PAREN, 1},
        {"upper letters in parens", "{\\*\\pn\\pnlvlbody\\pnucltr\\pnstart1{\\pntxtb (}{\\pntxta )}}", PFN_UCLETTER, PFNS_PARENS, 1},
        {"roman plain", "{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart3}", PFN_UCROMAN, PFNS_PLAIN, 3},
        {"lower roman", "{\\*\\pn\\pnlvlbody\\pnlcrm\\pnstart1{\\pntxta .}}", PFN_LCROMAN, PFNS_PERIOD, 1},
    };
    for (const ListCase& c : cases) {
        auto document = ReadDocument(Header + "{\\pntext x\\tab}\\pard" + c.pn + "\\fi-360\\li720 X\\par"
                                     "{\\pntext x\\tab}\\pard" + c.pn + "\\fi-360\\li720 Y\\par\\pard Z}");
        const QTextBlockFormat f = BlockFormatOf(*document, QStringLiteral("X"));
        EXPECT_EQ(Prop(f, PropNumbering), c.numbering) << c.name;
        EXPECT_EQ(Prop(f, PropNumberingStyle), c.style) << c.name;
        EXPECT_EQ(Prop(f, PropNumberingStart), c.start) << c.name;
        const QTextBlock x = document->findBlock(int(document->toRawText().indexOf(u'X')));
        const QTextBlock y = x.next();
        ASSERT_NE(x.textList(), nullptr) << c.name;
        EXPECT_EQ(x.textList(), y.textList()) << c.name;
        EXPECT_EQ(y.next().textList(), nullptr) << c.name;
    }
}

} // namespace
