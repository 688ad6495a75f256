// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the language override of the Locales key.
#include "languageoverride.h"

#include "filenames.h"
#include "registry.h"
#include "registrylayout.h"

using platform::TRegistry;

namespace {

// The value is named after the path as the file system spells it, byte for byte.
std::string ValueName(const QString& executable)
{
    return platform::FileNameBytes(executable).toStdString();
}

} // namespace

QString ReadLanguageOverride(const QString& executable)
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    if (!reg.OpenKey(RegistryKeys::Locales, false) || !reg.ValueExists(ValueName(executable)))
        return {};
    return QString::fromStdString(reg.ReadString(ValueName(executable)));
}

void WriteLanguageOverride(const QString& executable, const QString& code)
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    reg.OpenKey(RegistryKeys::Locales, true);
    reg.WriteString(ValueName(executable), code.toStdString());
}

bool DeleteLanguageOverride(const QString& executable)
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    if (!reg.OpenKey(RegistryKeys::Locales, false) || !reg.ValueExists(ValueName(executable)))
        return false;
    return reg.DeleteValue(ValueName(executable));
}
