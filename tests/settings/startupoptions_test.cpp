// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up reading of the Options key: defaults for a fresh user, range checks of
// stored values, the window bounds, and values of the wrong kind.
#include "registrylayout.h"
#include "registrymessages.h"
#include "scriptedprompter.h"
#include "settingsstore.h"
#include "startupoptions.h"

#include <functional>
#include <tuple>

using namespace platform;

namespace {

class StartupOptionsTest : public SettingsStoreTest {};

TEST_F(StartupOptionsTest, FreshUserAndEmptyKeyGetTheBuiltInDefaultsAndReadingCreatesNothing)
{
    const StartupOptions fresh = ReadStartupOptions();
    EXPECT_FALSE(fresh.keyFound);
    EXPECT_EQ(fresh.rusCode, 1);
    EXPECT_EQ(fresh.window, StartWindowMode::Maximized);
    EXPECT_FALSE(std::filesystem::exists(file));

    PutIntegers(RegistryKeys::Options, {});
    const StartupOptions o = ReadStartupOptions();
    EXPECT_TRUE(o.keyFound);
    EXPECT_EQ(o.rusCode, fresh.rusCode);
    EXPECT_EQ(o.window, fresh.window);
    EXPECT_EQ(o.autoEncoding, fresh.autoEncoding);
    EXPECT_EQ(o.exceptMac, fresh.exceptMac);
    EXPECT_EQ(o.dosAdd, fresh.dosAdd);
    EXPECT_EQ(o.wrap, std::nullopt);
    EXPECT_EQ(o.parNum, std::nullopt);
    EXPECT_FALSE(o.fontName || o.fontSize || o.color || o.top);
}

TEST_F(StartupOptionsTest, StoredValuesAreCheckedAsAtStartUp)
{
    // Each value as stored, then as read; -1 stands for "left unset".
    using O = const StartupOptions&;
    struct Field {
        const char* value;
        std::function<int(O)> read;
        std::vector<std::pair<int, int>> storedAndRead;
    };
    const int full = int(StartWindowMode::FullScreen), maximized = int(StartWindowMode::Maximized),
              normal = int(StartWindowMode::Normal);
    const Field fields[] = {
        {"Window", [](O o) { return int(o.window); }, {{-1, full}, {0, maximized}, {1, normal}, {7, normal}}},
        {"Indent", [](O o) { return o.indent; }, {{13, 13}, {14, 0}, {-1, 0}}},
        // 7 is detection's None, naming no encoding; 8 is UTF-8.
        {"RusCode", [](O o) { return o.rusCode; }, {{0, 0}, {6, 6}, {9, 1}, {7, 1}, {8, 8}, {-3, 1}}},
        {"ParNum", [](O o) { return o.parNum.value_or(-1); }, {{8, 8}, {9, -1}}},
        {"UnderLine", [](O o) { return o.underLine.value_or(-1); }, {{6, 6}, {7, -1}}},
        {"ReadOnly", [](O o) { return int(o.readOnly); }, {{1, 1}, {2, 0}}}, // only exactly 1 is on
        {"Wrap", [](O o) { return o.wrap.has_value() ? int(*o.wrap) : -1; }, {{1, 1}, {2, 0}}},
        {"AllEncBut", [](O o) { return int(o.allEncodingButtons); }, {{0, 0}, {5, 1}}}, // any non-zero shows them
        {"ParBut", [](O o) { return int(o.paragraphButtons); }, {{0, 0}}},
        {"AutoEnc", [](O o) { return int(o.autoEncoding); }, {{0, 0}, {2, 0}}},
        {"ExceptMac", [](O o) { return int(o.exceptMac); }, {{0, 0}}},
        {"AutoUrl", [](O o) { return o.autoUrl.has_value() ? int(*o.autoUrl) : -1; }, {{1, 1}}},
        {"Ole", [](O o) { return o.ole.has_value() ? int(*o.ole) : -1; }, {{3, 1}}}, // a boolean: non-zero is true
        {"PDos", [](O o) { return o.dosAdd; }, {{0, 0}, {3, 3}, {4, 2}}},
    };
    for (const Field& field : fields)
        for (const auto& [stored, read] : field.storedAndRead) {
            TRegistry().DeleteKey(RegistryKeys::Options);
            PutIntegers(RegistryKeys::Options, {{field.value, stored}});
            EXPECT_EQ(field.read(ReadStartupOptions()), read) << field.value << " = " << stored;
        }
}

TEST_F(StartupOptionsTest, FontAndBoundsAreReadAsStored)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(RegistryKeys::Options, true));
        reg.WriteString("Font", "Liberation Mono");
        reg.WriteInteger("Size", 12);
        reg.WriteInteger("FColor", 0x0000FF);
        reg.WriteInteger("Color", int(0x80000005));
    }
    WriteWindowBounds(QRect(30, 20, 681, 321));
    const StartupOptions o = ReadStartupOptions();
    EXPECT_EQ(o.fontName, QString("Liberation Mono"));
    EXPECT_EQ(std::tuple(o.fontSize, o.fontColor, o.color), std::tuple(12, 0xFF, int(0x80000005)));
    EXPECT_EQ(std::tuple(o.left, o.top, o.width, o.height), std::tuple(30, 20, 681, 321));
}

TEST_F(StartupOptionsTest, ValueOfTheWrongKindStopsTheReaderAndTheUserIsToldItsName)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(RegistryKeys::Options, true));
    reg.WriteString("Size", "12");
    ScriptedPrompter script;
    script.AnswerMessage(MsgButton::Ok);
    ScopedPrompter installed(script);
    try {
        ReadStartupOptions();
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Kind(), RegistryErrorKind::WrongKind);
        EXPECT_TRUE(ReportRegistryError(e));
    }
    ASSERT_EQ(script.Asked().size(), 1u);
    EXPECT_EQ(script.Asked()[0].msgKind, MsgKind::Error);
    EXPECT_EQ(script.Asked()[0].text, QString("Invalid data type of the registry value: Size"));
}

} // namespace
