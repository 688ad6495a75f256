// SPDX-License-Identifier: GPL-3.0-or-later
// The names quillet-conv reads and writes for encodings, DOS modes and byte orders.
#pragma once

#include "enctypes.h"

#include <optional>
#include <string_view>

// Dos, Win, Koi, Mac, Iso, Uni, Rtf, None, Utf8, as the program names them.
const char* EncName(TEnc enc);
const char* ByteOrderName(TUniType uniType);

// Case-insensitive; also the common code-page names (cp866, cp1251, koi8-r, utf-8, ...).
std::optional<TEnc> ParseEnc(std::string_view name);
// none, oem, uni, tbl.
std::optional<TDosAdd> ParseDosMode(std::string_view name);
// little, big.
std::optional<TUniType> ParseByteOrder(std::string_view name);
