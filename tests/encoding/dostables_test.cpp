// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS table parser: where tables start and end, the cells of their rows, the
// offsets the editor will use, and input that must not make it hold too much.
#include "dostables.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TBytes Dos(const std::string& utf8) { return Iconv(utf8, "CP866"); }

tables Parse(const TBytes& b)
{
    tables t;
    ParseDosTables(std::span<const std::uint8_t>(b), t);
    return t;
}

std::string Describe(const tables& ts)
{
    std::string s;
    for (const table& t : ts) {
        s += "[" + std::to_string(t.StartPos) + "," + std::to_string(t.EndPos) + "]";
        for (const line& row : t.Rows) {
            s += " {";
            for (const cell& c : row)
                s += std::to_string(c.SepPos) + ":" + c.Text + "|";
            s += "}";
        }
        s += "\n";
    }
    return s;
}

const std::string Box = "┌───────────┐\n"
                        "│ one │ two │\n"
                        "└───────────┘";

TEST(DosTables, ABoxWithOneRowWhateverItsLineEnds)
{
    const std::string expected = "[0,42] {1:|7: one|13: two|}\n";
    tables found;
    EXPECT_TRUE(ParseDosTables(std::span<const std::uint8_t>(Dos(Box)), found));
    EXPECT_EQ(Describe(found), expected);
    for (const char* end : {"\n", "\r\n", "\r"}) {   // every line end counts once
        std::string text = Box;
        for (std::size_t p = 0; (p = text.find('\n', p)) != std::string::npos; p += std::strlen(end))
            text.replace(p, 1, end);
        EXPECT_EQ(Describe(Parse(Dos(text + end))), expected) << "line end " << int(end[0]);
    }
}

TEST(DosTables, PiecesOfAnySizeGiveTheSameTables)
{
    const TBytes bytes = Dos("text\r\n╔═════╗\r\n║ Да ║ x\r\n╚═════╝\r\n\r\n──────\r\n│a│b│\r\n");
    const std::string whole = Describe(Parse(bytes));
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        tables t;
        TDosTableParser parser(t);
        parser.Feed(bytes.data(), cut);
        parser.Feed(bytes.data() + cut, bytes.size() - cut);
        parser.Finish();
        EXPECT_EQ(Describe(t), whole) << "cut at " << cut;
    }
}

TEST(DosTables, WhereTablesStartAndEnd)
{
    struct { const char* name; std::string text; std::string expected; } cases[] = {
        {"empty line closes", "──────\n│a│\n\nafter\n", "[0,11] {1:|3:a|}\n"},
        {"row before rule is ignored", "│x│\n──────\n│a│\n", "[4,15] {1:|3:a|}\n"},
        {"rule lines inside are skipped", "────\n│a│\n────\n│b│\n────\n",
         "[0,23] {1:|3:a|} {1:|3:b|}\n"},
        {"junctions make a line no rule", "────\n│a│\n├──┼──┤\n│b│\n", "[0,9] {1:|3:a|}\n"},
        {"two tables in file order", "════\n║a║\nx\n════\n║b║\n", "[0,9] {1:|3:a|}\n[11,20] {1:|3:b|}\n"},
        {"no rule, no table", "│a│b│\n│c│d│\n", ""},
        {"exactly 80 % is not a rule", "────ab\n│a│\n", ""},
        {"leading blanks trim, offsets do not", "  \t──────\n   │ a │  \n",
         "[0,21] {1:|5: a|}\n"},
        {"text after the last bar is dropped", "────\n x │ y │ z\n", "[0,16] {3:x|7: y|}\n"},
        {"cell text becomes Windows-1251", "────\n│Да│\n", "[0,10] {1:|4:\xC4\xE0|}\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(Parse(Dos(c.text))), c.expected) << c.name;
}

TEST(DosTables, FileFormMatchesTheSpanForm)
{
    TTempDir dir;
    const TBytes bytes = Dos("intro\n" + Box + "\nend\n");
    tables fromFile;
    EXPECT_TRUE(ParseDosTables(dir.Write("t.txt", bytes), fromFile));
    EXPECT_EQ(Describe(fromFile), Describe(Parse(bytes)));

    tables none{table{}};
    EXPECT_FALSE(ParseDosTables(dir.Path("missing"), none));
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(ParseDosTables(dir.Path(""), none));
}

TEST(DosTables, HugeLinesOutsideTablesAreOnlyScanned)
{
    // A long line with separators but no open table, then a real table.
    TBytes bytes(8 * 1024 * 1024, 'x');
    for (std::size_t i = 0; i < bytes.size(); i += 3)
        bytes[i] = 0xB3;
    bytes.push_back('\n');
    const TBytes rest = Dos("──────\n│a│\n");
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    const std::string start = std::to_string(8 * 1024 * 1024 + 1);
    EXPECT_EQ(Describe(Parse(bytes)), "[" + start + "," + std::to_string(8 * 1024 * 1024 + 1 + 11) +
                                          "] {1:|3:a|}\n");
}

TEST(DosTables, RowsTooLongToRebuildGiveNoTables)
{
    for (std::uint8_t filler : {std::uint8_t('x'), std::uint8_t(0xB3)}) {
        TBytes bytes = Dos("──────\n│a│\n");
        bytes.push_back(0xB3);
        bytes.insert(bytes.end(), MaxRowText + 10, filler);
        bytes.push_back(0xB3);
        bytes.push_back('\n');
        tables t;
        TDosTableParser parser(t);
        parser.Feed(bytes.data(), bytes.size());
        EXPECT_FALSE(parser.Finish()) << int(filler);
        EXPECT_TRUE(parser.Overflowed());
        EXPECT_TRUE(t.empty());
    }
    // The same length in a rule line inside a table is no row and harms nothing.
    TBytes rule = Dos("──────\n│a│\n");
    rule.insert(rule.end(), MaxRowText + 10, 0xC4);
    rule.push_back(0xB3);
    rule.push_back('\n');
    EXPECT_EQ(Describe(Parse(rule)), "[0," + std::to_string(11 + MaxRowText + 12) + "] {1:|3:a|}\n");
}

} // namespace

TEST(DosTables, TablesThatWouldDropTextSayItself)
{
    struct { const char* name; std::string text; bool drops; } cases[] = {
        {"closed frame", Box, false},
        {"frame of double lines with junctions", "╔═══════╦═══════╗\n║ a     ║ b     ║\n╚═══════╩═══════╝\n", false},
        {"words after the last bar", "──────\n│a│b│ c\n", true},
        {"words before the first bar", "──────\nитого │a│\n", true},
        {"a caption inside a rule line", "══════ Итоги ══════════════════════════\n║a║\n", true},
        {"blanks around the frame", "  ──────  \n  │a│  \n", false},
        {"text outside the table does not count", "до\n──────\n│a│\n\nпосле │\n", false},
    };
    for (const auto& c : cases) {
        const tables t = Parse(Dos(c.text));
        ASSERT_EQ(t.size(), 1u) << c.name;
        EXPECT_EQ(t[0].DropsText, c.drops) << c.name;
    }
}
