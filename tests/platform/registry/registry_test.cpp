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

// Expects the action to raise an error of the kind, naming the value.
void ExpectError(const std::function<void()>& action, RegistryErrorKind kind, const std::string& name)
{
    try {
        action();
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Kind(), kind);
        EXPECT_EQ(e.Name(), name);
        if (kind == RegistryErrorKind::WrongKind) {
            EXPECT_EQ(std::string(e.what()), std::string(RegistryText::WrongKind) + name);
        }
    }
}

TEST_F(RegistryTest, AFreshStoreReadsEmptyCreatesNoFileAndMissingNumbersAreErrors)
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

    ASSERT_TRUE(reg.OpenKey("\\K", true));
    EXPECT_EQ(reg.ReadString("Nothing"), "");
    ExpectError([&] { reg.ReadInteger("Nothing"); }, RegistryErrorKind::MissingValue, "Nothing");
    ExpectError([&] { reg.ReadBool("Nothing"); }, RegistryErrorKind::MissingValue, "Nothing");
    ExpectError([&] { reg.ReadFloat("Nothing"); }, RegistryErrorKind::MissingValue, "Nothing");
}

TEST_F(RegistryTest, ValuesOfEveryKindSurviveInTheirClassicForms)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
        reg.WriteString("Font", "Courier New");
        reg.WriteString("Empty", "");
        reg.WriteString("Russian", "Привет, мир");
        reg.WriteInteger("Window", -1);
        reg.WriteInteger("Min", INT32_MIN);
        reg.WriteBool("Ole", true);
        reg.WriteBool("Off", false);
        reg.WriteFloat("MarginLeft", 25.4);
        reg.WriteFloat("Float", 1.5);
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
    EXPECT_EQ(reg.ReadInteger("Min"), INT32_MIN);
    EXPECT_TRUE(reg.ReadBool("Ole"));
    EXPECT_FALSE(reg.ReadBool("Off"));
    EXPECT_DOUBLE_EQ(reg.ReadFloat("MarginLeft"), 25.4);
    EXPECT_EQ(reg.ReadBinaryData("Raw"), (std::vector<std::uint8_t>{0, 1, 0, 255}));
    EXPECT_TRUE(reg.ReadBinaryData("None").empty());
    EXPECT_EQ(reg.GetDataType("None"), RegDataType::Binary);
    // A boolean is an integer 0 or 1, any non-zero integer is true; a float is the
    // 8 little-endian bytes of a double.
    EXPECT_EQ(reg.GetDataType("Ole"), RegDataType::Integer);
    EXPECT_EQ(reg.ReadInteger("Ole"), 1);
    reg.WriteInteger("Ole", 7);
    EXPECT_TRUE(reg.ReadBool("Ole"));
    EXPECT_EQ(reg.ReadBinaryData("Float"), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
}

TEST_F(RegistryTest, ReadingAnotherKindNamesTheValue)
{
    const std::vector<std::pair<std::function<void(TRegistry&)>, std::function<void(TRegistry&)>>> cases = {
        {[](TRegistry& r) { r.WriteString("V", "12"); }, [](TRegistry& r) { r.ReadInteger("V"); }},
        {[](TRegistry& r) { r.WriteInteger("V", 1); }, [](TRegistry& r) { r.ReadString("V"); }},
        {[](TRegistry& r) { r.WriteInteger("V", 1); }, [](TRegistry& r) { r.ReadFloat("V"); }},
        {[](TRegistry& r) { r.WriteBinaryData("V", {1, 2, 3, 4}); }, [](TRegistry& r) { r.ReadFloat("V"); }},
        {[](TRegistry& r) { r.WriteBinaryData("V", {1}); }, [](TRegistry& r) { r.ReadBool("V"); }},
        {[](TRegistry& r) { r.WriteFloat("V", 2.0); }, [](TRegistry& r) { r.ReadString("V"); }},
        {[](TRegistry& r) { r.WriteString("V", "x"); }, [](TRegistry& r) { r.ReadBinaryData("V"); }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Kinds", true));
        cases[i].first(reg);
        ExpectError([&] { cases[i].second(reg); }, RegistryErrorKind::WrongKind, "V");
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
    EXPECT_TRUE(reg.DeleteValue(""));
    EXPECT_FALSE(reg.ValueExists(""));
    EXPECT_EQ(reg.ReadString("Other"), "x");
}

TEST_F(RegistryTest, PathsLetterCaseAndTheTwoRootsNameTheKeysAUserMeans)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software", true));
        ASSERT_TRUE(reg.OpenKey("Tarnwick\\Quillet\\Options", true));   // relative to the open key
        EXPECT_EQ(reg.CurrentPath(), "\\Software\\Tarnwick\\Quillet\\Options");
        reg.WriteInteger("FColor", 255);
        reg.WriteString("Шрифт", "Arial");
        EXPECT_FALSE(reg.KeyExists("Software"));
        reg.CloseKey();
        EXPECT_TRUE(reg.KeyExists("Software\\Tarnwick"));   // relative to the root again
    }
    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\tarnwick\\QUILLET\\options"));
    // Doubled and trailing backslashes name the same key.
    ASSERT_TRUE(reg.OpenKey("\\software\\\\TARNWICK\\quillet\\OPTIONS\\", true));
    EXPECT_EQ(reg.ReadInteger("fcolor"), 255);
    EXPECT_EQ(reg.ReadString("ШРИФТ"), "Arial");
    reg.WriteInteger("FCOLOR", 1); // the same value, keeping its first spelling
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"FColor", "Шрифт"}));
    EXPECT_EQ(reg.ReadInteger("FColor"), 1);
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet", false));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Options"});
    ASSERT_TRUE(reg.OpenKey("Options", false));
    EXPECT_EQ(FoldName("ÀÉ× Ёж"), "àé× ёж");
    EXPECT_EQ(FoldName("\xFF\xC3"), "\xFF\xC3"); // broken UTF-8 passes through

    TRegistry classes(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(classes.KeyExists("\\Software"));
    ASSERT_TRUE(classes.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
    classes.WriteInteger("FColor", 2);
    EXPECT_EQ(reg.ReadInteger("FColor"), 1);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_EQ(reg.CurrentPath(), "");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", false));
    EXPECT_EQ(reg.ReadInteger("FColor"), 2);
}

TEST_F(RegistryTest, DeletingAKeyTakesEverythingBelowAndValuesKeepTheirOrder)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
    reg.WriteInteger("Size", 10);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Files", true));
    reg.WriteString("File1", "/tmp/a.txt");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Other", true));
    for (const char* ext : {"TXT", "LOG", "CFG", "DIZ"})
        reg.WriteString(ext, "");
    reg.WriteString("TXT", "again");
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"TXT", "LOG", "CFG", "DIZ"}));
    EXPECT_TRUE(reg.DeleteValue("log"));
    EXPECT_FALSE(reg.DeleteValue("LOG"));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"TXT", "CFG", "DIZ"}));
    reg.CloseKey();

    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_TRUE(reg.DeleteKey("\\software\\TARNWICK"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Tarnwick\\Quillet\\Options"));
    EXPECT_FALSE(reg.DeleteKey("\\Software\\Tarnwick"));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Other"});
    ASSERT_TRUE(reg.OpenKey("Other", false));
    EXPECT_FALSE(reg.HasSubKeys());
    EXPECT_EQ(reg.ReadString("TXT"), "again");
    // Re-creating the deleted path starts empty: no orphaned values come back.
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Options", true));
    EXPECT_TRUE(reg.GetValueNames().empty());
    EXPECT_FALSE(reg.DeleteKey("\\"));   // a root cannot be deleted
}

TEST_F(RegistryTest, WritesThatCannotLandFailAndTransactionsCommitTogetherOrNotAtAll)
{
    TRegistry reg;
    ASSERT_TRUE(reg.CreateKey("\\K"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
    EXPECT_THROW(reg.WriteInteger("X", 1), RegistryError);
    EXPECT_FALSE(reg.ValueExists("X"));

    ASSERT_TRUE(reg.OpenKey("\\Gone", true));
    ASSERT_TRUE(TRegistry().DeleteKey("\\Gone"));   // by another accessor meanwhile
    ExpectError([&] { reg.WriteInteger("X", 1); }, RegistryErrorKind::WriteFailed, "X");

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
