// SPDX-License-Identifier: GPL-3.0-or-later
// In-place byte converters between the Russian code pages and Windows-1251, UTF-16
// byte swapping, CP866 to UTF-16LE, and the choice of converter for a setting.
#pragma once

#include "enctypes.h"

#include <cstddef>
#include <cstdint>

// Every converter works in place on n bytes, allocates nothing and cannot fail.
using TConverter = void (*)(std::uint8_t* buf, std::size_t n);

// Letters only: the 66 Russian letters move to their place in the target code page;
// every other byte keeps its value (and so, in the other code page, its meaning).
void DosToWin(std::uint8_t* buf, std::size_t n);
void WinToDos(std::uint8_t* buf, std::size_t n);
void KoiToWin(std::uint8_t* buf, std::size_t n);
void WinToKoi(std::uint8_t* buf, std::size_t n);
void MacToWin(std::uint8_t* buf, std::size_t n);
void WinToMac(std::uint8_t* buf, std::size_t n);
void IsoToWin(std::uint8_t* buf, std::size_t n);
void WinToIso(std::uint8_t* buf, std::size_t n);

// The fixed OEM (CP866) <-> ANSI (Windows-1251) conversion: letters as above, box
// drawing folded to the nearest Windows-1251 characters.
void OemToWin(std::uint8_t* buf, std::size_t n);
void WinToOem(std::uint8_t* buf, std::size_t n);

// UTF-16BE <-> UTF-16LE; an odd last byte stays where it is.
void SwapUnicodeBytes(std::uint8_t* buf, std::size_t n);

// Each of the n CP866 bytes of src becomes one UTF-16LE unit in dst, which must
// hold 2n bytes. Not in place.
void DosToUnicode(const std::uint8_t* src, std::size_t n, std::uint8_t* dst);

// The converter that brings a file's bytes to the editor (Windows-1251 or UTF-16LE)
// and the one that takes them back, for one conversion setting; nullptr where the
// bytes pass unchanged, and for Utf8, which no in-place converter can recode.
TConverter ReadConverter(TEnc enc, TDosAdd dosAdd, TUniType uniType);
TConverter WriteConverter(TEnc enc, TDosAdd dosAdd, TUniType uniType);
