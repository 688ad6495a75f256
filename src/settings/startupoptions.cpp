// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the Options key for start-up; writing the window bounds.
#include "startupoptions.h"

#include "registry.h"
#include "registrylayout.h"

using platform::TRegistry;

namespace {

// Highest ordinals a window may take: Rtf among the encodings, daTBL among the
// DOS-graphics modes. Detection's "None" names no encoding; UTF-8, which came
// later, has the ordinal after it.
constexpr int MaxWindowEncoding = 6;
constexpr int Utf8Encoding = 8;
constexpr int DefaultEncoding = 1; // Win
constexpr int MaxDosAdd = 3;
constexpr int DefaultDosAdd = 2;   // daUNI
constexpr int MaxIndent = 13;
constexpr int MaxParNum = 8;
constexpr int MaxUnderLine = 6;

std::optional<int> Int(TRegistry& reg, const char* name)
{
    return reg.ValueExists(name) ? std::optional<int>(reg.ReadInteger(name)) : std::nullopt;
}

std::optional<QString> Str(TRegistry& reg, const char* name)
{
    return reg.ValueExists(name) ? std::optional<QString>(QString::fromStdString(reg.ReadString(name)))
                                 : std::nullopt;
}

std::optional<int> InRange(std::optional<int> v, int max)
{
    return v && *v >= 0 && *v <= max ? v : std::nullopt;
}

std::optional<int> ShownEncoding(std::optional<int> v)
{
    return v && *v == Utf8Encoding ? v : InRange(v, MaxWindowEncoding);
}

// Most flags count as on only when exactly 1 is stored.
std::optional<bool> IsOne(std::optional<int> v)
{
    return v ? std::optional<bool>(*v == 1) : std::nullopt;
}

} // namespace

StartupOptions ReadStartupOptions()
{
    StartupOptions o;
    TRegistry reg(platform::HKEY_CURRENT_USER);
    if (!reg.OpenKey(RegistryKeys::Options, false))
        return o;
    o.keyFound = true;

    o.color = Int(reg, OptionsValue::Color);
    o.fontName = Str(reg, OptionsValue::Font);
    o.fontSize = Int(reg, OptionsValue::Size);
    o.charset = Int(reg, OptionsValue::Charset);
    o.fontColor = Int(reg, OptionsValue::FColor);
    o.fontStyle = Str(reg, OptionsValue::FStyle);

    // A negative value would become a byte far above the last encoding, so it is
    // refused like the values above it.
    o.rusCode = ShownEncoding(Int(reg, OptionsValue::RusCode)).value_or(DefaultEncoding);
    o.indent = InRange(Int(reg, OptionsValue::Indent), MaxIndent).value_or(0);
    o.readOnly = IsOne(Int(reg, OptionsValue::ReadOnly)).value_or(false);
    o.allEncodingButtons = Int(reg, OptionsValue::AllEncBut).value_or(1) != 0;
    o.paragraphButtons = Int(reg, OptionsValue::ParBut).value_or(1) != 0;
    o.parNum = InRange(Int(reg, OptionsValue::ParNum), MaxParNum);
    o.underLine = InRange(Int(reg, OptionsValue::UnderLine), MaxUnderLine);
    o.wrap = IsOne(Int(reg, OptionsValue::Wrap));
    if (reg.ValueExists(OptionsValue::Ole))
        o.ole = reg.ReadBool(OptionsValue::Ole);
    o.autoUrl = IsOne(Int(reg, OptionsValue::AutoUrl));
    o.exceptMac = IsOne(Int(reg, OptionsValue::ExceptMac)).value_or(true);
    o.top = Int(reg, OptionsValue::Top);
    o.left = Int(reg, OptionsValue::Left);
    o.width = Int(reg, OptionsValue::Width);
    o.height = Int(reg, OptionsValue::Height);

    const int window = Int(reg, OptionsValue::Window).value_or(0);
    o.window = window < 0 ? StartWindowMode::FullScreen
             : window == 0 ? StartWindowMode::Maximized
                           : StartWindowMode::Normal;
    // An unknown mode would reach the loader as an undefined value.
    o.dosAdd = InRange(Int(reg, OptionsValue::PDos), MaxDosAdd).value_or(DefaultDosAdd);
    o.autoEncoding = IsOne(Int(reg, OptionsValue::AutoEnc)).value_or(true);
    o.journal = Int(reg, OptionsValue::Journal).value_or(1) != 0;
    const std::optional<int> delay = Int(reg, OptionsValue::JournalDelay);
    if (delay && *delay >= 1 && *delay <= MaxJournalDelay)
        o.journalDelay = delay;
    return o;
}

void WriteWindowBounds(const QRect& bounds)
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    reg.OpenKey(RegistryKeys::Options, true);
    platform::RegistryTransaction tx(reg);
    reg.WriteInteger(OptionsValue::Top, bounds.top());
    reg.WriteInteger(OptionsValue::Left, bounds.left());
    reg.WriteInteger(OptionsValue::Width, bounds.width());
    reg.WriteInteger(OptionsValue::Height, bounds.height());
    tx.Commit();
}
