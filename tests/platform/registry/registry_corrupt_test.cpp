// SPDX-License-Identifier: GPL-3.0-or-later
// A store file that is damaged, or is not a store at all, is reported as such and
// never rewritten: the user's file may still be rescued.
#include "registry.h"
#include "registry_store.h"

#include <sqlite3.h>

#include <filesystem>
#include <functional>

using namespace platform;

namespace {

class RegistryCorruptTest : public RegistryStoreTest {
protected:
    // Every kind of access must raise the corrupt error and leave the bytes as they were.
    void ExpectReportedAndUntouched()
    {
        const std::string before = ReadWholeFile(file);
        const std::vector<std::function<void()>> accesses = {
            [] { TRegistry r; r.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", false); },
            [] { TRegistry r; r.KeyExists("\\Software"); },
            [] { TRegistry r; r.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true); },
            [] { TRegistry r; r.WriteInteger("Size", 10); },
            [] { TRegistry r; r.DeleteKey("\\Software"); },
        };
        for (std::size_t i = 0; i < accesses.size(); ++i) {
            SCOPED_TRACE(i);
            try {
                accesses[i]();
                ADD_FAILURE() << "no error";
            } catch (const RegistryCorruptError& e) {
                EXPECT_EQ(e.Kind(), RegistryErrorKind::Corrupt);
                EXPECT_EQ(e.Name(), file);
            }
        }
        EXPECT_EQ(ReadWholeFile(file), before);
        EXPECT_FALSE(std::filesystem::exists(file + "-wal"));
    }
};

TEST_F(RegistryCorruptTest, TextsOtherDatabasesAndDamagedStoresAreReportedAndLeftAlone)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "[Options]\r\nFont=Courier New\r\n";
    WriteWholeFile(file, text);
    ExpectReportedAndUntouched();

    std::filesystem::remove(file);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(t TEXT); INSERT INTO notes VALUES('mine');", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    ExpectReportedAndUntouched();

    std::filesystem::remove(file);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
        reg.WriteString("Font", "Courier New");
    }
    std::string bytes = ReadWholeFile(file);
    ASSERT_GT(bytes.size(), 1024u);
    // Keep the header, scramble the schema page behind it.
    for (std::size_t i = 100; i < 1024; ++i)
        bytes[i] = char(i * 37);
    WriteWholeFile(file, bytes);
    ExpectReportedAndUntouched();
}

TEST_F(RegistryCorruptTest, EmptyFileIsAnEmptyStore)
{
    WriteWholeFile(file, "");
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("\\Software"));
    ASSERT_TRUE(reg.OpenKey("\\Software", true));
    reg.WriteInteger("X", 1);
    EXPECT_EQ(reg.ReadInteger("X"), 1);
}

} // namespace
