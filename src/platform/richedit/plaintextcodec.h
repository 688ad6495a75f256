// SPDX-License-Identifier: GPL-3.0-or-later
// Plain-text bytes to and from the control's text: Windows-1251 or UTF-16LE,
// decoded block by block with paragraph ends normalised, encoded with CR LF.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace platform {

// Decodes the blocks of a stream. CR LF, lone CR and lone LF each become one '\n'
// (one paragraph end), also when a CR LF pair is split between two blocks; a
// UTF-16 U+2029 is a paragraph end as well. A UTF-16 stream split inside a code
// unit keeps the odd byte for the next block; an odd byte left at the very end
// becomes U+FFFD, and so do U+FDD0 and U+FDD1, which the document reserves for
// the marks of tables.
class PlainTextDecoder {
public:
    explicit PlainTextDecoder(bool unicode) : unicode(unicode) {}

    // Appends the text of the block to out.
    void Feed(const std::uint8_t* data, std::size_t n, QString& out);
    // Appends what the last block held back.
    void Finish(QString& out);

private:
    void Put(char16_t unit, char16_t*& dst);

    bool unicode;
    bool pendingCr = false;
    int pendingByte = -1;
};

// Encodes text whose paragraph ends are U+2029 (as QTextDocument holds them) into
// bytes: a paragraph end becomes CR LF (and so does a line break in Windows-1251,
// and a mark that opens or closes a table or cell); in
// Windows-1251 a character with no byte becomes '?', once per character even when
// it takes two UTF-16 units.
class PlainTextEncoder {
public:
    explicit PlainTextEncoder(bool unicode) : unicode(unicode) {}

    // Appends the bytes of text to out; answers the number of characters written.
    std::int64_t Encode(QStringView text, std::vector<std::uint8_t>& out) const;

private:
    bool unicode;
};

} // namespace platform
