// SPDX-License-Identifier: GPL-3.0-or-later
// Store location, key-path splitting and case folding of names.
#include "registrypath.h"

#include <cstdlib>

namespace platform {

namespace {

std::string EnvOrEmpty(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

char32_t FoldCodePoint(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) // Latin-1 capitals, not the multiplication sign
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) // А..Я
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) // Ѐ..Џ, Ё among them
        return c + 0x50;
    return c;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string RegistryFileName()
{
    if (std::string file = EnvOrEmpty("QUILLET_REGISTRY"); !file.empty())
        return file;
    std::string config = EnvOrEmpty("XDG_CONFIG_HOME");
    // Relative XDG paths are invalid by the base-directory rules and must be ignored.
    if (config.empty() || config.front() != '/')
        config = EnvOrEmpty("HOME") + "/.config";
    return config + "/quillet/registry.db";
}

std::string FoldName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (b < 0x80) {
            out += char(FoldCodePoint(b));
            ++i;
            continue;
        }
        // Only two-byte sequences hold letters that fold; everything else is copied.
        if ((b & 0xE0) == 0xC0 && i + 1 < name.size()
            && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
            const char32_t c = (char32_t(b & 0x1F) << 6) | (static_cast<unsigned char>(name[i + 1]) & 0x3F);
            if (c >= 0x80) {
                AppendUtf8(out, FoldCodePoint(c));
                i += 2;
                continue;
            }
        }
        out += name[i];
        ++i;
    }
    return out;
}

std::vector<std::string> SplitKeyPath(std::string_view path)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = path.find('\\', start);
        const std::size_t stop = end == std::string_view::npos ? path.size() : end;
        if (stop > start)
            parts.emplace_back(path.substr(start, stop - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return parts;
}

} // namespace platform
