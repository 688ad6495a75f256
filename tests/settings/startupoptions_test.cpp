// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up reading of the Options key: defaults for a fresh user, range checks of
// stored values, the window bounds, and values of the wrong kind.
#include "registrylayout.h"
#include "registrymessages.h"
#include "scriptedprompter.h"
#include "settingsstore.h"
#include "startupoptions.h"

#include <functional>

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

struct StoredCase {
    const char* value;
    int stored;
    std::function<void(const StartupOptions&)> check;
};

TEST_F(StartupOptionsTest, StoredValuesAreCheckedAsAtStartUp)
{
    using O = const StartupOptions&;
    const std::vector<StoredCase> cases = {
        {"Window", -1, [](O o) { EXPECT_EQ(o.window, StartWindowMode::FullScreen); }},
        {"Window", 0, [](O o) { EXPECT_EQ(o.window, StartWindowMode::Maximized); }},
        {"Window", 1, [](O o) { EXPECT_EQ(o.window, StartWindowMode::Normal); }},
        {"Window", 7, [](O o) { EXPECT_EQ(o.window, StartWindowMode::Normal); }},
        {"Indent", 13, [](O o) { EXPECT_EQ(o.indent, 13); }},
        {"Indent", 14, [](O o) { EXPECT_EQ(o.indent, 0); }},
        {"Indent", -1, [](O o) { EXPECT_EQ(o.indent, 0); }},
        {"RusCode", 0, [](O o) { EXPECT_EQ(o.rusCode, 0); }},
        {"RusCode", 6, [](O o) { EXPECT_EQ(o.rusCode, 6); }},
        {"RusCode", 9, [](O o) { EXPECT_EQ(o.rusCode, 1); }},
        {"RusCode", 7, [](O o) { EXPECT_EQ(o.rusCode, 1); }},   // detection's None names no encoding
        {"RusCode", 8, [](O o) { EXPECT_EQ(o.rusCode, 8); }},   // UTF-8
        {"RusCode", -3, [](O o) { EXPECT_EQ(o.rusCode, 1); }},
        {"ParNum", 8, [](O o) { EXPECT_EQ(o.parNum, 8); }},
        {"ParNum", 9, [](O o) { EXPECT_EQ(o.parNum, std::nullopt); }},
        {"UnderLine", 6, [](O o) { EXPECT_EQ(o.underLine, 6); }},
        {"UnderLine", 7, [](O o) { EXPECT_EQ(o.underLine, std::nullopt); }},
        {"ReadOnly", 1, [](O o) { EXPECT_TRUE(o.readOnly); }},
        {"ReadOnly", 2, [](O o) { EXPECT_FALSE(o.readOnly); }}, // only exactly 1 is on
        {"Wrap", 1, [](O o) { EXPECT_EQ(o.wrap, true); }},
        {"Wrap", 2, [](O o) { EXPECT_EQ(o.wrap, false); }},
        {"AllEncBut", 0, [](O o) { EXPECT_FALSE(o.allEncodingButtons); }},
        {"AllEncBut", 5, [](O o) { EXPECT_TRUE(o.allEncodingButtons); }}, // any non-zero shows them
        {"ParBut", 0, [](O o) { EXPECT_FALSE(o.paragraphButtons); }},
        {"AutoEnc", 0, [](O o) { EXPECT_FALSE(o.autoEncoding); }},
        {"AutoEnc", 2, [](O o) { EXPECT_FALSE(o.autoEncoding); }},
        {"ExceptMac", 0, [](O o) { EXPECT_FALSE(o.exceptMac); }},
        {"AutoUrl", 1, [](O o) { EXPECT_EQ(o.autoUrl, true); }},
        {"Ole", 3, [](O o) { EXPECT_EQ(o.ole, true); }}, // a boolean: non-zero is true
        {"PDos", 0, [](O o) { EXPECT_EQ(o.dosAdd, 0); }},
        {"PDos", 3, [](O o) { EXPECT_EQ(o.dosAdd, 3); }},
        {"PDos", 4, [](O o) { EXPECT_EQ(o.dosAdd, 2); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " = " + std::to_string(c.stored));
        TRegistry reg;
        reg.DeleteKey(RegistryKeys::Options);
        PutIntegers(RegistryKeys::Options, {{c.value, c.stored}});
        c.check(ReadStartupOptions());
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
    EXPECT_EQ(o.fontSize, 12);
    EXPECT_EQ(o.fontColor, 0xFF);
    EXPECT_EQ(o.color, int(0x80000005));
    EXPECT_EQ(o.left, 30);
    EXPECT_EQ(o.top, 20);
    EXPECT_EQ(o.width, 681);
    EXPECT_EQ(o.height, 321);
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
