// SPDX-License-Identifier: GPL-3.0-or-later
// The registry accessor: keys, value kinds, default values, deleting trees, letter
// case, the two roots and where the store lives.
#include "registry.h"
#include "registrypath.h"
#include "registry_store.h"

#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace platform;

namespace {

class RegistryTest : public RegistryStoreTest {};

TEST_F(RegistryTest, FreshStoreReadsEmptyAndCreatesNoFile)
{
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("\\Software\\Tarnwick\\Quillet\\Options"));
    EXPECT_FALSE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", false));
    EXPECT_FALSE(reg.ValueExists("Font"));
    EXPECT_EQ(reg.ReadString("Font"), "");
    EXPECT_FALSE(reg.DeleteKey("\\Software"));
    EXPECT_FALSE(reg.DeleteValue("Font"));
    EXPECT_TRUE(reg.GetValueNames().empty());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(RegistryTest, ValuesOfEveryKindSurviveTheAccessor)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
        reg.WriteString("Font", "Courier New");
        reg.WriteString("Empty", "");
        reg.WriteString("Russian", "Привет, мир");
        reg.WriteInteger("Window", -1);
        reg.WriteInteger("Big", 2000000000);
        reg.WriteInteger("Min", INT32_MIN);
        reg.WriteBool("Ole", true);
        reg.WriteBool("Off", false);
        reg.WriteFloat("MarginLeft", 25.4);
        reg.WriteBinaryData("Raw", {0, 1, 0, 255});
        reg.WriteBinaryData("None", {});
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", false));
    EXPECT_EQ(reg.ReadString("Font"), "Courier New");
    EXPECT_EQ(reg.ReadString("Empty"), "");
    EXPECT_TRUE(reg.ValueExists("Empty"));
    EXPECT_EQ(reg.ReadString("Russian"), "Привет, мир");
    EXPECT_EQ(reg.ReadInteger("Window"), -1);
    EXPECT_EQ(reg.ReadInteger("Big"), 2000000000);
    EXPECT_EQ(reg.ReadInteger("Min"), INT32_MIN);
    EXPECT_TRUE(reg.ReadBool("Ole"));
    EXPECT_FALSE(reg.ReadBool("Off"));
    EXPECT_DOUBLE_EQ(reg.ReadFloat("MarginLeft"), 25.4);
    EXPECT_EQ(reg.ReadBinaryData("Raw"), (std::vector<std::uint8_t>{0, 1, 0, 255}));
    EXPECT_TRUE(reg.ReadBinaryData("None").empty());
    EXPECT_EQ(reg.GetDataType("None"), RegDataType::Binary);
}

TEST_F(RegistryTest, StoredFormsAreTheClassicOnes)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\K", true));
    reg.WriteBool("Flag", true);
    reg.WriteFloat("Float", 1.5);
    // A boolean is an integer 0 or 1; a float is the 8 little-endian bytes of a double.
    EXPECT_EQ(reg.GetDataType("Flag"), RegDataType::Integer);
    EXPECT_EQ(reg.ReadInteger("Flag"), 1);
    EXPECT_EQ(reg.ReadBinaryData("Float"), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
    reg.WriteInteger("Flag", 7);
    EXPECT_TRUE(reg.ReadBool("Flag")); // any non-zero integer is true
}

struct WrongKindCase {
    const char* label;
    std::function<void(TRegistry&)> write;
    std::function<void(TRegistry&)> read;
};

TEST_F(RegistryTest, ReadingAnotherKindNamesTheValue)
{
    const std::vector<WrongKindCase> cases = {
        {"string as integer", [](TRegistry& r) { r.WriteString("V", "12"); }, [](TRegistry& r) { r.ReadInteger("V"); }},
        {"integer as string", [](TRegistry& r) { r.WriteInteger("V", 1); }, [](TRegistry& r) { r.ReadString("V"); }},
        {"integer as float", [](TRegistry& r) { r.WriteInteger("V", 1); }, [](TRegistry& r) { r.ReadFloat("V"); }},
        {"short binary as float", [](TRegistry& r) { r.WriteBinaryData("V", {1, 2, 3, 4}); },
         [](TRegistry& r) { r.ReadFloat("V"); }},
        {"binary as bool", [](TRegistry& r) { r.WriteBinaryData("V", {1}); }, [](TRegistry& r) { r.ReadBool("V"); }},
        {"float as string", [](TRegistry& r) { r.WriteFloat("V", 2.0); }, [](TRegistry& r) { r.ReadString("V"); }},
        {"string as binary", [](TRegistry& r) { r.WriteString("V", "x"); },
         [](TRegistry& r) { r.ReadBinaryData("V"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Kinds", true));
        c.write(reg);
        try {
            c.read(reg);
            ADD_FAILURE() << "no error";
        } catch (const RegistryError& e) {
            EXPECT_EQ(e.Kind(), RegistryErrorKind::WrongKind);
            EXPECT_EQ(e.Name(), "V");
            EXPECT_EQ(std::string(e.what()), std::string(RegistryText::WrongKind) + "V");
        }
    }
}

TEST_F(RegistryTest, AbsentNumbersAreErrorsAbsentStringsEmpty)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\K", true));
    EXPECT_EQ(reg.ReadString("Nothing"), "");
    for (auto read : std::vector<std::function<void()>>{[&] { reg.ReadInteger("Nothing"); },
                                                         [&] { reg.ReadBool("Nothing"); },
                                                         [&] { reg.ReadFloat("Nothing"); }}) {
        try {
            read();
            ADD_FAILURE() << "no error";
        } catch (const RegistryError& e) {
            EXPECT_EQ(e.Kind(), RegistryErrorKind::MissingValue);
            EXPECT_EQ(e.Name(), "Nothing");
        }
    }
}

TEST_F(RegistryTest, DefaultValueIsTheUnnamedString)
{
    TRegistry reg(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey("\\.txt", true));
    EXPECT_EQ(reg.ReadDefault(), "");
    reg.WriteDefault("TXTfile");
    reg.WriteString("Other", "x");
    EXPECT_EQ(reg.ReadDefault(), "TXTfile");
    EXPECT_TRUE(reg.ValueExists(""));
    EXPECT_TRUE(reg.DeleteValue(""));
    EXPECT_FALSE(reg.ValueExists(""));
    EXPECT_EQ(reg.ReadString("Other"), "x");
}

TEST_F(RegistryTest, PathsAreAbsoluteOrRelativeToTheOpenKey)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software", true));
    ASSERT_TRUE(reg.OpenKey("Tarnwick\\Quillet", true));
    EXPECT_EQ(reg.CurrentPath(), "\\Software\\Tarnwick\\Quillet");
    reg.WriteInteger("X", 5);
    EXPECT_TRUE(reg.KeyExists("\\Software\\Tarnwick\\Quillet"));
    EXPECT_FALSE(reg.KeyExists("Software")); // relative: below the open key
    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists("Software\\Tarnwick")); // relative to the root again
    // Doubled and trailing backslashes name the same key.
    ASSERT_TRUE(reg.OpenKey("\\Software\\\\Tarnwick\\Quillet\\", false));
    EXPECT_EQ(reg.ReadInteger("X"), 5);
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreLetterCase)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
        reg.WriteInteger("FColor", 255);
        reg.WriteString("Шрифт", "Arial");
    }
    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\tarnwick\\QUILLET\\options"));
    ASSERT_TRUE(reg.OpenKey("\\software\\TARNWICK\\quillet\\OPTIONS", true));
    EXPECT_EQ(reg.ReadInteger("fcolor"), 255);
    EXPECT_EQ(reg.ReadString("ШРИФТ"), "Arial");
    reg.WriteInteger("FCOLOR", 1); // the same value, keeping its first spelling
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"FColor", "Шрифт"}));
    EXPECT_EQ(reg.ReadInteger("FColor"), 1);
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet", false));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Options"});
}

TEST_F(RegistryTest, FoldingCoversAsciiLatinAndCyrillic)
{
    EXPECT_EQ(FoldName("ABC xyz 09"), "abc xyz 09");
    EXPECT_EQ(FoldName("ЁЖИК ёжик"), "ёжик ёжик");
    EXPECT_EQ(FoldName("ÀÉ×"), "àé×");
    EXPECT_EQ(FoldName("\xFF\xC3"), "\xFF\xC3"); // broken UTF-8 passes through
}

TEST_F(RegistryTest, TheTwoRootsAreSeparate)
{
    TRegistry user(HKEY_CURRENT_USER);
    ASSERT_TRUE(user.OpenKey("\\Same", true));
    user.WriteString("Who", "user");
    TRegistry classes(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(classes.KeyExists("\\Same"));
    ASSERT_TRUE(classes.OpenKey("\\Same", true));
    classes.WriteString("Who", "classes");
    EXPECT_EQ(user.ReadString("Who"), "user");
    user.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_EQ(user.CurrentPath(), "");
    ASSERT_TRUE(user.OpenKey("\\Same", false));
    EXPECT_EQ(user.ReadString("Who"), "classes");
}

TEST_F(RegistryTest, DeletingAKeyTakesEverythingBelow)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
    reg.WriteInteger("Size", 10);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Files", true));
    reg.WriteString("File1", "/tmp/a.txt");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Other", true));
    reg.WriteInteger("Keep", 1);
    reg.CloseKey();

    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_TRUE(reg.DeleteKey("\\software\\TARNWICK"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Tarnwick\\Quillet\\Options"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Tarnwick"));
    EXPECT_FALSE(reg.DeleteKey("\\Software\\Tarnwick"));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Other"});
    ASSERT_TRUE(reg.OpenKey("Other", false));
    EXPECT_FALSE(reg.HasSubKeys());
    EXPECT_EQ(reg.ReadInteger("Keep"), 1);
    // Re-creating the deleted path starts empty: no orphaned values come back.
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
    EXPECT_TRUE(reg.GetValueNames().empty());
    // A root cannot be deleted.
    EXPECT_FALSE(reg.DeleteKey("\\"));
}

TEST_F(RegistryTest, ValueNamesInWritingOrderAndDeletion)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Types", true));
    for (const char* ext : {"TXT", "LOG", "CFG", "DIZ"})
        reg.WriteString(ext, "");
    reg.WriteString("TXT", "again");
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"TXT", "LOG", "CFG", "DIZ"}));
    EXPECT_TRUE(reg.DeleteValue("log"));
    EXPECT_FALSE(reg.DeleteValue("LOG"));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"TXT", "CFG", "DIZ"}));
}

TEST_F(RegistryTest, ReadOnlyKeyRefusesWrites)
{
    TRegistry reg;
    ASSERT_TRUE(reg.CreateKey("\\K"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
    EXPECT_THROW(reg.WriteInteger("X", 1), RegistryError);
    EXPECT_FALSE(reg.ValueExists("X"));
}

TEST_F(RegistryTest, WritesToAKeyDeletedMeanwhileFail)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Gone", true));
    TRegistry other;
    ASSERT_TRUE(other.DeleteKey("\\Gone"));
    try {
        reg.WriteInteger("X", 1);
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Kind(), RegistryErrorKind::WriteFailed);
        EXPECT_EQ(e.Name(), "X");
    }
}

TEST_F(RegistryTest, TransactionsCommitTogetherOrNotAtAll)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\T", true));
    {
        RegistryTransaction tx(reg);
        reg.WriteInteger("A", 1);
        reg.WriteInteger("B", 2);
        EXPECT_EQ(reg.ReadInteger("A"), 1); // visible to its own accessor
    }
    EXPECT_FALSE(reg.ValueExists("A"));
    {
        RegistryTransaction tx(reg);
        reg.WriteInteger("A", 1);
        reg.DeleteValue("Nothing");
        tx.Commit();
    }
    TRegistry other;
    ASSERT_TRUE(other.OpenKey("\\T", false));
    EXPECT_EQ(other.ReadInteger("A"), 1);
}

class RegistryLocationTest : public RegistryStoreTest {
protected:
    void SetUp() override
    {
        RegistryStoreTest::SetUp();
        for (const char* name : {"QUILLET_REGISTRY", "XDG_CONFIG_HOME", "HOME"}) {
            const char* v = std::getenv(name);
            saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        }
        ::unsetenv("QUILLET_REGISTRY");
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        RegistryStoreTest::TearDown();
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(RegistryLocationTest, StoreFollowsXdgConfigHomeThenHome)
{
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    EXPECT_EQ(RegistryFileName(), (dir / "config/quillet/registry.db").string());
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\K", true));
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "config/quillet/registry.db"));
    EXPECT_EQ(std::filesystem::status(dir / "config/quillet").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);

    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", (dir / "home").c_str(), 1);
    EXPECT_EQ(RegistryFileName(), (dir / "home/.config/quillet/registry.db").string());
    ::setenv("QUILLET_REGISTRY", "/elsewhere/r.db", 1);
    EXPECT_EQ(RegistryFileName(), "/elsewhere/r.db");
}

} // namespace
