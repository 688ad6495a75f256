// SPDX-License-Identifier: GPL-3.0-or-later
// The recent-files list: order, duplicates, the ten-entry limit, the stored form
// with its Uni rule, and copies of the program updating it at once.
#include "filenames.h"
#include "recentfiles.h"
#include "registrylayout.h"
#include "settingsstore.h"

#include <thread>
#include <tuple>

using namespace platform;

namespace {

class RecentFilesTest : public SettingsStoreTest {};

QString Name(int i)
{
    return QString("/home/u/file%1.txt").arg(i);
}

TEST_F(RecentFilesTest, MostRecentFirstWithoutDuplicatesAtMostTen)
{
    THistory h;
    for (int i = 1; i <= 12; ++i)
        h = PushHistory(h, {Name(i), 1, i, false});
    EXPECT_EQ(h[0].FileName, Name(12));
    EXPECT_EQ(h[9].FileName, Name(3)); // the two oldest dropped
    h = PushHistory(h, {Name(7), 2, 70, false});
    EXPECT_EQ(std::tuple(h[0].FileName, h[0].Kod, h[0].Pos), std::tuple(Name(7), 2, 70));
    EXPECT_EQ(std::count_if(h.begin(), h.end(), [](const THistItem& i) { return i.FileName == Name(7); }), 1);
    EXPECT_EQ(h[1].FileName, Name(12));
    // Names compare exactly: on this platform another letter case is another file.
    h = PushHistory(h, {Name(12).toUpper(), 1, 0, false});
    EXPECT_EQ(h[0].FileName, Name(12).toUpper());
    EXPECT_EQ(h[2].FileName, Name(12));
}

TEST_F(RecentFilesTest, EntriesAreStoredAsTheirBytesWithUniOnlyForUnicodeAndComeBackExactly)
{
    // Two Windows-1251 names one letter apart, and an ordinary UTF-8 one.
    const QString first = platform::FileNameFromBytes("/old/\xEF\xE8\xF1\xFC\xEC\xEE\xE0.txt");
    const QString second = platform::FileNameFromBytes("/old/\xEF\xE8\xF1\xFC\xEC\xEE\xE1.txt");
    UpdateHistory({first, 5, 123, true});
    UpdateHistory({second, 1, 4, true}); // Uni means nothing for Windows text
    UpdateHistory({QStringLiteral("/home/u/Письмо.txt"), 2, 5, false});

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(RegistryKeys::Files, false));
    // A valid name is stored as it always was, so existing stores read the same.
    EXPECT_EQ(reg.ReadString("File1"), "/home/u/\xD0\x9F\xD0\xB8\xD1\x81\xD1\x8C\xD0\xBC\xD0\xBE.txt");
    EXPECT_EQ(std::tuple(reg.ReadString("File2"), reg.ReadInteger("File2Kod"), reg.ReadInteger("File2Pos")),
              std::tuple(std::string("/old/\xEF\xE8\xF1\xFC\xEC\xEE\xE1.txt"), 1, 4));
    EXPECT_FALSE(reg.ValueExists("File2Uni"));
    EXPECT_EQ(reg.ReadString("File3"), "/old/\xEF\xE8\xF1\xFC\xEC\xEE\xE0.txt");
    EXPECT_TRUE(reg.ReadBool("File3Uni"));
    EXPECT_FALSE(reg.ValueExists("File4"));

    // A big-endian Unicode entry comes back big-endian at its caret.
    const THistory h = ReadHistory();
    EXPECT_EQ(h[0].FileName, QStringLiteral("/home/u/Письмо.txt"));
    EXPECT_EQ(std::tuple(h[1].FileName, h[1].Uni), std::tuple(second, false));
    EXPECT_EQ(std::tuple(h[2].FileName, h[2].Kod, h[2].Pos, h[2].Uni), std::tuple(first, 5, 123, true));
}

TEST_F(RecentFilesTest, ValuesAreReadOnTheirOwnAndUnusedPlacesCleared)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(RegistryKeys::Files, true));
        reg.WriteString("File1", "/a/one.txt");
        reg.WriteInteger("File1Kod", 5);
        reg.WriteBool("File1Uni", true);
        reg.WriteInteger("File2Kod", 3); // no name: kept in the record, not in the menu
        reg.WriteString("File3", "/a/three.txt");
        reg.WriteInteger("File3Kod", 42); // names no encoding
        reg.WriteInteger("File3Pos", -5);
        reg.WriteInteger("File4Kod", 8);  // UTF-8
        reg.WriteInteger("File5Kod", 7);  // detection's None names no encoding
        reg.WriteString("File9", "/a/nine.txt");
    }
    const THistory read = ReadHistory();
    EXPECT_EQ(read[1].FileName, QString());
    EXPECT_EQ((std::vector{read[1].Kod, read[2].Kod, read[3].Kod, read[4].Kod, read[2].Pos}), (std::vector{3, 1, 8, 1, 0}));

    UpdateHistory({"/a/new.txt", 0, 1, false});
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(RegistryKeys::Files, false));
    EXPECT_EQ(reg.ReadString("File1"), "/a/new.txt");
    EXPECT_EQ(reg.ReadString("File2"), "/a/one.txt");
    EXPECT_TRUE(reg.ReadBool("File2Uni"));
    EXPECT_FALSE(reg.ValueExists("File1Uni")); // moved along with its entry
    EXPECT_EQ(reg.ReadString("File3"), "/a/three.txt");
    EXPECT_EQ(reg.ReadString("File4"), "/a/nine.txt");
    for (int n = 5; n <= 10; ++n)
        for (const std::string& v : {FilesValue::File(n), FilesValue::Kod(n), FilesValue::Pos(n), FilesValue::Uni(n)})
            EXPECT_FALSE(reg.ValueExists(v)) << v;
}

TEST_F(RecentFilesTest, CopiesLeavingFilesAtOnceKeepEveryEntry)
{
    // Each thread has its own accessors and connections, as separate copies would.
    constexpr int Copies = 4;
    std::vector<std::thread> copies;
    std::vector<std::string> failures(Copies);
    for (int c = 0; c < Copies; ++c)
        copies.emplace_back([c, &failures] {
            try {
                UpdateHistory({Name(c * 2), 1, 0, false});
                UpdateHistory({Name(c * 2 + 1), 1, 0, false});
            } catch (const RegistryError& e) {
                failures[std::size_t(c)] = e.what();
            }
        });
    for (auto& t : copies)
        t.join();
    for (const auto& f : failures)
        EXPECT_EQ(f, "");
    const THistory h = ReadHistory();
    for (int i = 0; i < Copies * 2; ++i)
        EXPECT_EQ(std::count_if(h.begin(), h.end(), [i](const THistItem& item) { return item.FileName == Name(i); }),
                  1)
            << i;
}

} // namespace
