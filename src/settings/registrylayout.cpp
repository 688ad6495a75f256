// SPDX-License-Identifier: GPL-3.0-or-later
// Numbered value names and removal of the program's keys.
#include "registrylayout.h"

#include "registry.h"

namespace {

std::string Numbered(const char* stem, int n, const char* suffix = "")
{
    return stem + std::to_string(n) + suffix;
}

} // namespace

namespace FilesValue {
std::string File(int n) { return Numbered("File", n); }
std::string Kod(int n) { return Numbered("File", n, "Kod"); }
std::string Pos(int n) { return Numbered("File", n, "Pos"); }
std::string Uni(int n) { return Numbered("File", n, "Uni"); }
} // namespace FilesValue

namespace ScreensValue {
std::string Font(int n) { return Numbered("Font", n); }
std::string FStyle(int n) { return Numbered("FStyle", n); }
std::string FColor(int n) { return Numbered("FColor", n); }
std::string Size(int n) { return Numbered("Size", n); }
std::string Charset(int n) { return Numbered("Charset", n); }
std::string Color(int n) { return Numbered("Color", n); }
std::string Window(int n) { return Numbered("Window", n); }
} // namespace ScreensValue

void DeleteProgramKeys()
{
    platform::TRegistry reg(platform::HKEY_CURRENT_USER);
    platform::RegistryTransaction transaction(reg);
    DeleteProgramKeys(reg);
    transaction.Commit();
}

void DeleteProgramKeys(platform::TRegistry& reg)
{
    reg.SetRootKey(platform::HKEY_CURRENT_USER);
    for (const char* key : RegistryKeys::All)
        if (reg.KeyExists(key))
            reg.DeleteKey(key);
    if (reg.KeyExists(RegistryKeys::Quillet))
        reg.DeleteKey(RegistryKeys::Quillet);
    if (reg.KeyExists(RegistryKeys::Tarnwick))
        reg.DeleteKey(RegistryKeys::Tarnwick);
    DeleteEmptyKeys(reg, {"\\Software"});
}

void DeleteEmptyKeys(platform::TRegistry& reg, std::initializer_list<const char*> keys)
{
    for (const char* key : keys) {
        if (!reg.OpenKey(key, false))
            continue;
        const bool empty = !reg.HasSubKeys() && reg.GetValueNames().empty();
        reg.CloseKey();
        if (empty)
            reg.DeleteKey(key);
    }
}
