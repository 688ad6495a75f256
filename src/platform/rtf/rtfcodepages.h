// SPDX-License-Identifier: GPL-3.0-or-later
// Code pages of RTF text: which one a font charset or a document header names,
// and decoding of \'hh bytes and raw 8-bit text in that code page.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// Windows-1251 is the program's ANSI code page, so RTF that names none is read in it.
constexpr int DefaultAnsiCodePage = 1251;

// The code page of an RTF \fcharset value; 0 when the charset names none
// (DEFAULT_CHARSET), so that the document's code page applies.
int CodePageForCharset(int charset);

// Turns bytes of one code page into UTF-16. Double-byte code pages (932, 936,
// 949, 950, 1361) hold a lead byte until its trail byte arrives.
class RtfByteDecoder {
public:
    void SetCodePage(int codePage);
    int CodePage() const { return codePage_; }
    void Append(const char* bytes, int n, QString& out);
    void Append(std::uint8_t byte, QString& out);
    // Drops a lead byte still waiting (a group or a control word came between).
    void Reset() { pendingLead_ = -1; }

private:
    int codePage_ = 0;
    const char16_t* table_ = nullptr;     // single-byte code pages
    const bool* leadBytes_ = nullptr;     // double-byte code pages
    int pendingLead_ = -1;
};

} // namespace platform
