// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the Search key.
#include "searchstrings.h"

#include "registry.h"
#include "registrylayout.h"

using platform::TRegistry;

namespace {

std::optional<QString> ReadText(TRegistry& reg, const char* name)
{
    if (!reg.ValueExists(name))
        return std::nullopt;
    return QString::fromStdString(reg.ReadString(name));
}

void WriteText(TRegistry& reg, const char* name, const std::optional<QString>& text)
{
    if (text && !text->isEmpty())
        reg.WriteString(name, text->toStdString());
}

} // namespace

SearchStrings ReadSearchStrings()
{
    SearchStrings strings;
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(RegistryKeys::Search))
        return strings;
    strings.findStr = ReadText(reg, SearchValue::FindStr);
    strings.findReplStr = ReadText(reg, SearchValue::FindReplStr);
    strings.replStr = ReadText(reg, SearchValue::ReplStr);
    return strings;
}

void WriteSearchStrings(const SearchStrings& strings)
{
    TRegistry reg;
    reg.OpenKey(RegistryKeys::Search, true);
    platform::RegistryTransaction transaction(reg);
    WriteText(reg, SearchValue::FindStr, strings.findStr);
    WriteText(reg, SearchValue::FindReplStr, strings.findReplStr);
    WriteText(reg, SearchValue::ReplStr, strings.replStr);
    transaction.Commit();
}
