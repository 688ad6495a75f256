// SPDX-License-Identifier: GPL-3.0-or-later
// The read-back check: each distinct character of the text is sent once through
// the real save and load conversions, which costs one pass over the text.
#include "plainreadback.h"

#include "conversion.h"
#include "plaintextcodec.h"
#include "streams.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

#include <bitset>
#include <memory>
#include <vector>

bool PlainTextReadsBack(const QTextDocument& doc, TEnc encoding, TDosAdd dosAdd, TUniType uniType)
{
    return PlainTextReadsBack(doc.toRawText(), encoding, dosAdd, uniType);
}

bool PlainTextReadsBack(const QString& raw, TEnc encoding, TDosAdd dosAdd, TUniType uniType)
{
    if (encoding == Rtf || encoding == None)
        return false;
    const bool unicode = encoding == Uni || encoding == Utf8;
    auto seen = std::make_unique<std::bitset<0x10000>>();
    const auto* p = reinterpret_cast<const char16_t*>(raw.utf16());
    for (qsizetype i = 0, n = raw.size(); i < n; ++i) {
        const char16_t u = p[i];
        if (QChar::isSurrogate(u)) {
            // A pair is kept by the Unicode encodings and nothing else; a lone half
            // only by UTF-16.
            const bool pair = QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]);
            if (!unicode || (!pair && encoding != Uni))
                return false;
            i += pair ? 1 : 0;
            continue;
        }
        seen->set(u);
    }
    // Paragraph ends are written as CR LF and read back as one; a CR or LF of its
    // own would come back as a paragraph end.
    if (seen->test(u'\r') || seen->test(u'\n'))
        return false;
    QString sample;
    for (char32_t u = 0; u < 0x10000; ++u)
        if (seen->test(u))
            sample += QChar(char16_t(u));

    std::vector<std::uint8_t> control;
    platform::PlainTextEncoder(unicode).Encode(sample, control);
    TMemoryStream file;
    TConversion writer(encoding, dosAdd, uniType);
    writer.ConvertWrite(file, control.data(), control.size());
    writer.FinishWrite(file);

    file.SetPosition(0);
    TConversion reader(encoding, dosAdd, uniType);
    platform::PlainTextDecoder decoder(unicode);
    QString back;
    std::vector<std::uint8_t> block(1 << 16);
    for (;;) {
        const std::size_t n = reader.ConvertRead(file, block.data(), block.size());
        if (n == 0)
            break;
        decoder.Feed(block.data(), n, back);
    }
    decoder.Finish(back);
    return back == sample.replace(QChar::ParagraphSeparator, u'\n');
}

std::optional<TPlainFormats> PlainFormatsOf(const QTextDocument& doc)
{
    const QTextBlock first = doc.firstBlock();
    for (QTextBlock block = first; block.isValid(); block = block.next())
        if (!block.begin().atEnd())
            return TPlainFormats{first.blockFormat(), first.charFormat(), block.begin().fragment().charFormat()};
    return std::nullopt;
}

bool HasOnlyFormats(const QTextDocument& doc, const TPlainFormats& formats)
{
    if (!doc.rootFrame()->childFrames().isEmpty())
        return false;
    // The document keeps every format it was ever given: when there are no
    // others, no paragraph or run can have one.
    bool others = false;
    for (const QTextFormat& format : doc.allFormats()) {
        if (format.isFrameFormat())
            continue;
        others = others || format.isListFormat()
                 || (format.isBlockFormat() && format != formats.block)
                 || (format.isCharFormat() && format != formats.run && format != formats.blockChar);
    }
    if (!others)
        return true;
    for (QTextBlock block = doc.firstBlock(); block.isValid(); block = block.next()) {
        if (block.blockFormat() != formats.block || block.charFormat() != formats.blockChar)
            return false;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat() != formats.run)
                return false;
    }
    return true;
}
