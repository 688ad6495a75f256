// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the Screens key.
#include "savedscreens.h"

#include "registry.h"
#include "registrylayout.h"

using platform::TRegistry;

namespace {

constexpr std::int32_t SystemWindowColor = std::int32_t(0x80000005u);

bool AllPresent(TRegistry& reg, int n)
{
    for (const std::string& name : {ScreensValue::Font(n), ScreensValue::FColor(n), ScreensValue::FStyle(n),
                                     ScreensValue::Charset(n), ScreensValue::Size(n), ScreensValue::Color(n),
                                     ScreensValue::Window(n)})
        if (!reg.ValueExists(name))
            return false;
    return true;
}

} // namespace

TScreenParams DefaultScreen()
{
    TScreenParams screen;
    screen.FontName = QStringLiteral("Courier New");
    screen.FStyle = QStringLiteral("000");
    screen.FColor = 0;
    screen.Size = 10;
    screen.Charset = 1;
    screen.Color = SystemWindowColor;
    screen.Window = 0;
    return screen;
}

std::array<std::optional<TScreenParams>, SavedScreenCount + 1> ReadSavedScreens()
{
    std::array<std::optional<TScreenParams>, SavedScreenCount + 1> screens;
    TRegistry reg(platform::HKEY_CURRENT_USER);
    if (!reg.OpenKey(RegistryKeys::Screens, false))
        return screens;
    for (int n = 1; n <= SavedScreenCount; ++n) {
        if (!AllPresent(reg, n))
            continue;
        try {
            TScreenParams screen;
            screen.FontName = QString::fromStdString(reg.ReadString(ScreensValue::Font(n)));
            screen.FStyle = QString::fromStdString(reg.ReadString(ScreensValue::FStyle(n)));
            screen.FColor = reg.ReadInteger(ScreensValue::FColor(n));
            screen.Size = reg.ReadInteger(ScreensValue::Size(n));
            screen.Charset = reg.ReadInteger(ScreensValue::Charset(n));
            screen.Color = reg.ReadInteger(ScreensValue::Color(n));
            screen.Window = reg.ReadInteger(ScreensValue::Window(n));
            screens[n] = screen;
        } catch (const platform::RegistryError& error) {
            // A value of another kind leaves the slot empty: applying a half-read
            // look would be worse than offering none. A store that cannot be read
            // at all is another matter.
            if (error.Kind() != platform::RegistryErrorKind::WrongKind)
                throw;
        }
    }
    return screens;
}

bool SavedScreenExists(int n)
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    return reg.OpenKey(RegistryKeys::Screens, false) && AllPresent(reg, n);
}

void WriteSavedScreen(int n, const TScreenParams& screen)
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    reg.OpenKey(RegistryKeys::Screens, true);
    platform::RegistryTransaction tx(reg);
    reg.WriteString(ScreensValue::Font(n), screen.FontName.toStdString());
    reg.WriteString(ScreensValue::FStyle(n), screen.FStyle.toStdString());
    reg.WriteInteger(ScreensValue::FColor(n), screen.FColor);
    reg.WriteInteger(ScreensValue::Size(n), screen.Size);
    reg.WriteInteger(ScreensValue::Charset(n), screen.Charset & 0xFF);
    reg.WriteInteger(ScreensValue::Color(n), screen.Color);
    reg.WriteInteger(ScreensValue::Window(n), screen.Window);
    tx.Commit();
}
