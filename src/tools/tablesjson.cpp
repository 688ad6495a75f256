// SPDX-License-Identifier: GPL-3.0-or-later
// JSON writing for quillet-conv's tables command.
#include "tablesjson.h"

#include "codepages.h"

namespace {

void AppendUtf8(std::string& out, char16_t u)
{
    if (u < 0x80) {
        out.push_back(char(u));
    } else if (u < 0x800) {
        out.push_back(char(0xC0 | (u >> 6)));
        out.push_back(char(0x80 | (u & 0x3F)));
    } else {
        out.push_back(char(0xE0 | (u >> 12)));
        out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(char(0x80 | (u & 0x3F)));
    }
}

void AppendJsonString(std::string& out, std::string_view win)
{
    constexpr char Hex[] = "0123456789abcdef";
    out.push_back('"');
    for (char c : win) {
        const char16_t u = platform::Cp1251ToUnicode[std::uint8_t(c)];
        if (u == '"' || u == '\\') {
            out.push_back('\\');
            out.push_back(char(u));
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            out += "\\u00";
            out.push_back(Hex[u >> 4]);
            out.push_back(Hex[u & 0xF]);
        } else {
            AppendUtf8(out, u);
        }
    }
    out.push_back('"');
}

} // namespace

std::string TablesToJson(const tables& ts)
{
    std::string out = "{\"tables\": [";
    for (std::size_t t = 0; t < ts.size(); ++t) {
        out += t ? ",\n  " : "\n  ";
        out += "{\"start\": " + std::to_string(ts[t].StartPos) + ", \"end\": " + std::to_string(ts[t].EndPos) +
               ", \"rows\": [";
        for (std::size_t r = 0; r < ts[t].Rows.size(); ++r) {
            out += r ? ",\n    [" : "\n    [";
            const line& row = ts[t].Rows[r];
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (c)
                    out += ", ";
                out += "{\"sep\": " + std::to_string(row[c].SepPos) + ", \"text\": ";
                AppendJsonString(out, row[c].Text);
                out += "}";
            }
            out += "]";
        }
        out += ts[t].Rows.empty() ? "]}" : "\n  ]}";
    }
    out += ts.empty() ? "]}\n" : "\n]}\n";
    return out;
}
