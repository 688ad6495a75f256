// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the recent-files list.
#include "recentfiles.h"

#include "filenames.h"
#include "registry.h"
#include "registrylayout.h"

#include <algorithm>

using platform::TRegistry;

namespace {

constexpr int UniEncoding = 5;
constexpr int MaxEncoding = 6;     // Rtf
constexpr int Utf8Encoding = 8;    // after detection's None, which names no encoding
constexpr int DefaultEncoding = 1; // Win

THistory ReadOpenKey(TRegistry& reg)
{
    THistory history;
    for (int n = 1; n <= HistorySize; ++n) {
        THistItem& item = history[std::size_t(n - 1)];
        if (reg.ValueExists(FilesValue::File(n)))
            item.FileName = platform::FileNameFromBytes(reg.ReadString(FilesValue::File(n)));
        if (reg.ValueExists(FilesValue::Kod(n))) {
            // The entry is reloaded with its encoding forced; one that names no
            // encoding is read as Windows text rather than passed on.
            const int kod = reg.ReadInteger(FilesValue::Kod(n));
            item.Kod = (kod >= 0 && kod <= MaxEncoding) || kod == Utf8Encoding ? kod : DefaultEncoding;
        }
        if (reg.ValueExists(FilesValue::Pos(n)))
            item.Pos = std::max(0, reg.ReadInteger(FilesValue::Pos(n)));
        if (reg.ValueExists(FilesValue::Uni(n)))
            item.Uni = reg.ReadBool(FilesValue::Uni(n));
    }
    return history;
}

void WriteOpenKey(TRegistry& reg, const THistory& history)
{
    for (int n = 1; n <= HistorySize; ++n) {
        const THistItem& item = history[std::size_t(n - 1)];
        if (item.FileName.isEmpty()) {
            for (const std::string& name : {FilesValue::File(n), FilesValue::Kod(n), FilesValue::Pos(n),
                                            FilesValue::Uni(n)})
                reg.DeleteValue(name);
            continue;
        }
        // The name's own bytes: a valid UTF-8 name is stored as it always was, one
        // from an old archive keeps the bytes that name its file.
        reg.WriteString(FilesValue::File(n), platform::FileNameBytes(item.FileName).toStdString());
        reg.WriteInteger(FilesValue::Kod(n), item.Kod);
        reg.WriteInteger(FilesValue::Pos(n), item.Pos);
        if (item.Kod == UniEncoding)
            reg.WriteBool(FilesValue::Uni(n), item.Uni);
        else
            reg.DeleteValue(FilesValue::Uni(n));
    }
}

} // namespace

THistory ReadHistory()
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    if (!reg.OpenKey(RegistryKeys::Files, false))
        return {};
    return ReadOpenKey(reg);
}

THistory PushHistory(const THistory& old, const THistItem& current)
{
    THistory history;
    history[0] = current;
    history[0].Uni = current.Kod == UniEncoding && current.Uni;
    std::size_t n = 1;
    for (const THistItem& item : old) {
        if (n >= history.size())
            break;
        if (!item.FileName.isEmpty() && item.FileName != current.FileName) {
            history[n] = item;
            history[n].Uni = item.Kod == UniEncoding && item.Uni;
            ++n;
        }
    }
    return history;
}

void WriteHistory(const THistory& history)
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    reg.OpenKey(RegistryKeys::Files, true);
    platform::RegistryTransaction tx(reg);
    WriteOpenKey(reg, history);
    tx.Commit();
}

THistory UpdateHistory(const THistItem& current)
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    reg.OpenKey(RegistryKeys::Files, true);
    platform::RegistryTransaction tx(reg);
    const THistory history = PushHistory(ReadOpenKey(reg), current);
    WriteOpenKey(reg, history);
    tx.Commit();
    return history;
}
