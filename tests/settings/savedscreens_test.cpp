// SPDX-License-Identifier: GPL-3.0-or-later
// The Screens key: a slot needs all seven values, a value of another kind empties
// its slot only, and a written slot reads back as written; the language override
// is kept per executable path, byte for byte.
#include "filenames.h"
#include "languageoverride.h"
#include "registrylayout.h"
#include "savedscreens.h"
#include "settingsstore.h"

#include <tuple>

namespace {

class SavedScreensTest : public SettingsStoreTest {};

TScreenParams Look()
{
    TScreenParams screen;
    screen.FontName = QStringLiteral("Liberation Serif");
    screen.FStyle = QStringLiteral("101");
    screen.FColor = 0x0000FF;
    screen.Size = 14;
    screen.Charset = 204;
    screen.Color = 0x00FFFF;
    screen.Window = 1;
    return screen;
}

auto Fields(const TScreenParams& s)
{
    return std::tie(s.FontName, s.FStyle, s.FColor, s.Size, s.Charset, s.Color, s.Window);
}

TEST_F(SavedScreensTest, WrittenSlotsReadBackAndOneMissingAValueOrHoldingAWrongKindIsEmpty)
{
    EXPECT_FALSE(SavedScreenExists(2));
    for (int n : {1, 2, 3, 4})
        WriteSavedScreen(n, Look());
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(RegistryKeys::Screens, false));
        reg.DeleteValue(ScreensValue::Size(3));
        reg.WriteString(ScreensValue::Color(4), "yellow");
    }
    EXPECT_TRUE(SavedScreenExists(2));
    EXPECT_FALSE(SavedScreenExists(3));
    const auto screens = ReadSavedScreens();
    for (int n = 1; n <= SavedScreenCount; ++n)
        EXPECT_EQ(screens[n].has_value(), n <= 2) << n;
    EXPECT_EQ(Fields(*screens[2]), Fields(Look()));
}

TEST_F(SavedScreensTest, TheLanguageOverrideIsKeptPerExecutablePath)
{
    // A folder named in KOI8-R bytes, as old archives have them.
    const QString odd = platform::FileNameFromBytes(QByteArray("/opt/\xf0\xd2\xcf\xc7/quillet"));
    const QString plain = QStringLiteral("/usr/bin/quillet");
    EXPECT_TRUE(ReadLanguageOverride(odd).isEmpty());
    WriteLanguageOverride(odd, QStringLiteral("RU"));
    EXPECT_EQ(ReadLanguageOverride(odd), QStringLiteral("RU"));
    EXPECT_TRUE(ReadLanguageOverride(plain).isEmpty());
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(RegistryKeys::Locales, false));
        const std::vector<std::string> names = reg.GetValueNames();
        ASSERT_EQ(names.size(), 1u);
        EXPECT_EQ(names[0], std::string("/opt/\xf0\xd2\xcf\xc7/quillet"));
    }
    EXPECT_FALSE(DeleteLanguageOverride(plain));
    EXPECT_TRUE(DeleteLanguageOverride(odd));
    EXPECT_TRUE(ReadLanguageOverride(odd).isEmpty());
    EXPECT_FALSE(DeleteLanguageOverride(odd));
}

} // namespace
