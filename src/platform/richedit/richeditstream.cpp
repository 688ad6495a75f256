// SPDX-License-Identifier: GPL-3.0-or-later
// Streaming text in and out of the control (EM_STREAMIN / EM_STREAMOUT).
#include "richeditimpl.h"

#include "listmarkers.h"
#include "loadpreview.h"
#include "plainfill.h"
#include "plaintextcodec.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "tablemarks.h"

#include <QElapsedTimer>

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// Large blocks keep the per-call cost of the callback negligible; the callback
// recodes each block in place, so this is the only buffer of the stream.
constexpr std::int32_t StreamBlockBytes = 256 * 1024;
// Characters of a text's start kept for its preview: more than any screen shows
// of a paragraph folded at the fold width, and little to lay out.
constexpr qsizetype PreviewChars = 128 * 1024;
// Longer than any mark FindUrlMarks looks for.
constexpr qsizetype UrlMarkSpan = 8;
// Characters taken from the document at a time when streaming out.
constexpr int OutChunkChars = 128 * 1024;

// Calls the callback for blocks until it reports the end; false when it failed.
template <class Consume>
bool ReadBlocks(EDITSTREAM& stream, std::vector<std::uint8_t>& buffer, Consume consume)
{
    for (;;) {
        std::int32_t got = 0;
        const std::uint32_t error = stream.pfnCallback(stream.dwCookie, buffer.data(), std::int32_t(buffer.size()), &got);
        if (error != 0) {
            stream.dwError = error;
            return false;
        }
        if (got <= 0)
            return true;
        consume(buffer.data(), std::size_t(std::min<std::int32_t>(got, std::int32_t(buffer.size()))));
    }
}

// Hands the bytes to the callback in blocks; false when it failed or took nothing.
bool WriteBlocks(EDITSTREAM& stream, std::uint8_t* data, std::size_t size)
{
    std::size_t offset = 0;
    while (offset < size) {
        const auto n = std::int32_t(std::min<std::size_t>(StreamBlockBytes, size - offset));
        std::int32_t took = 0;
        const std::uint32_t error = stream.pfnCallback(stream.dwCookie, data + offset, n, &took);
        if (error != 0) {
            stream.dwError = error;
            return false;
        }
        if (took <= 0)
            return false;
        offset += std::size_t(std::min(took, n));
    }
    return true;
}

std::int32_t ToCount(std::int64_t n)
{
    return std::int32_t(std::min<std::int64_t>(n, INT32_MAX));
}

} // namespace

std::int32_t RichEdit::StreamIn(unsigned format, EDITSTREAM& stream)
{
    stream.dwError = 0;
    const std::optional<PreviewRequest> previewRequest = std::exchange(PreviewNext, std::nullopt);
    if (!stream.pfnCallback) {
        stream.dwError = StreamErrorBadData;
        return 0;
    }
    const bool selection = (format & SFF_SELECTION) != 0;
    if (selection) {
        // Replacing protected text is refused as typing over it is: nothing is
        // read and nothing changes.
        const QTextCursor cursor = textCursor();
        if (!d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd()))
            return 0;
    }
    NotifyScope scope(*d, UID_UNKNOWN);
    std::vector<std::uint8_t> buffer(StreamBlockBytes);

    // A stream that fails part way changes nothing: what it gave so far is dropped
    // and the text shown stays as it was.
    if (format & SF_RTF) {
        QByteArray data;
        const bool complete = ReadBlocks(stream, buffer, [&](const std::uint8_t* p, std::size_t n) {
            data.append(reinterpret_cast<const char*>(p), qsizetype(n));
        });
        if (!complete)
            return 0;
        if (selection) {
            QTextCursor cursor = textCursor();
            const int before = d->TextLength() - (cursor.selectionEnd() - cursor.selectionStart());
            const int start = cursor.selectionStart();
            cursor.beginEditBlock();
            const bool read = ReadRtf(data, cursor);
            if (read)
                SyncListMarkers(*d->doc, start, cursor.position());
            d->EndStep(cursor);
            if (!read) {
                if (stream.dwError == 0)
                    stream.dwError = StreamErrorBadData;
                return 0;
            }
            setTextCursor(cursor);
            return d->TextLength() - before;
        }
        QTextDocument* fresh = d->NewDocument();
        QTextCursor cursor(fresh);
        // One edit: after each insertion outside an edit Qt works out the caret's
        // place, itemizing the whole paragraph so far.
        cursor.beginEditBlock();
        const bool read = ReadRtf(data, cursor);
        cursor.endEditBlock();
        if (!read) {
            delete fresh;
            if (stream.dwError == 0)
                stream.dwError = StreamErrorBadData;
            return 0;
        }
        SyncListMarkers(*fresh, 0, fresh->characterCount() - 1);
        // No reader marks automatic links: the places that may hold an address
        // are all detection needs to read.
        if (d->autoUrlDetect)
            d->DetectLinksInFresh(fresh);
        PrepareFresh(*fresh);
        d->AttachDocument(fresh);
        d->changePending = true;
        return d->TextLength();
    }

    PlainTextDecoder decoder((format & SF_UNICODE) != 0);
    QString chunk;
    if (selection) {
        if (!ReadBlocks(stream, buffer, [&](const std::uint8_t* p, std::size_t n) { decoder.Feed(p, n, chunk); }))
            return 0;
        decoder.Finish(chunk);
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        // Text of the same shape goes between a table's marks and keeps the table
        // (an encoding button on a selection streams it out and in again).
        if (d->ReplaceKeepingTables(cursor.selectionStart(), cursor.selectionEnd(), chunk)) {
            d->EndStep(cursor);
        } else {
            cursor.insertText(chunk);
            d->EndStep(cursor);
            setTextCursor(cursor);
        }
        return ToCount(chunk.size());
    }

    // The whole text goes into a document no view shows yet: inserting into a
    // shown document lays out every block at once and is many times slower.
    QTextDocument* fresh = d->NewDocument();
    // One edit: after each insertion outside an edit Qt works out the caret's
    // place, itemizing the whole paragraph so far: a long line cost its square.
    PlainFill fill(*fresh);
    // Where addresses may be, found in the text as it goes in: detection then
    // reads those blocks only. The tail of each piece goes with the next one, so
    // that a mark across the edge of a block read is found.
    std::vector<int> urlMarks;
    QString seam;
    // A text that takes long to build shows its start meanwhile; a text about to
    // be changed before it is shown does not.
    QElapsedTimer clock;
    clock.start();
    const bool previewWanted = previewRequest && !BeforeShowingNext;
    bool previewAsked = false;
    QString head;
    std::unique_ptr<LoadPreview> preview;
    auto showPreview = [&] {
        if (previewWanted && !previewAsked && clock.elapsed() >= previewRequest->afterMs) {
            previewAsked = true;
            preview = d->ShowPreview(head, *previewRequest);
        }
    };
    auto put = [&] {
        if (previewWanted && !previewAsked && head.size() < PreviewChars)
            head += QStringView(chunk).first(std::min(chunk.size(), PreviewChars - head.size()));
        if (d->autoUrlDetect) {
            const int at = fill.Position();
            const int seamStart = at - int(seam.size());
            seam += QStringView(chunk).first(std::min(chunk.size(), UrlMarkSpan));
            FindUrlMarks(seam, seamStart, urlMarks);
            FindUrlMarks(chunk, at, urlMarks);
            seam = chunk.size() >= UrlMarkSpan ? chunk.last(UrlMarkSpan) : seam.last(std::min(seam.size(), UrlMarkSpan));
        }
        fill.Add(chunk);
        chunk.clear();
        showPreview();
    };
    const bool complete = ReadBlocks(stream, buffer, [&](const std::uint8_t* p, std::size_t n) {
        decoder.Feed(p, n, chunk);
        put();
    });
    if (!complete) {
        delete fresh;
        return 0;
    }
    decoder.Finish(chunk);
    put();
    fill.Finish();
    if (BeforeShowingNext) {
        // What is done to the text before it is shown moves the addresses found
        // while reading: they are looked for again in the final text.
        PrepareFresh(*fresh);
        if (d->autoUrlDetect)
            d->DetectLinksInFresh(fresh);
        d->AttachDocument(fresh);
    } else {
        std::vector<int> linked;
        if (d->autoUrlDetect)
            linked = d->DetectLinksAt(fresh, std::move(urlMarks));
        d->AttachDocument(fresh, &linked);
    }
    d->changePending = true;
    return d->TextLength();
}

void RichEdit::PrepareFresh(QTextDocument& fresh)
{
    if (!BeforeShowingNext)
        return;
    const std::function<void(QTextDocument&)> prepare = std::move(BeforeShowingNext);
    BeforeShowingNext = nullptr;
    try {
        prepare(fresh);
    } catch (...) {
        delete &fresh;
        throw;
    }
}

std::int32_t RichEdit::StreamOut(unsigned format, EDITSTREAM& stream)
{
    stream.dwError = 0;
    if (!stream.pfnCallback) {
        stream.dwError = StreamErrorBadData;
        return 0;
    }
    int from = 0;
    int to = d->TextLength();
    const bool selection = (format & SFF_SELECTION) != 0;
    if (selection) {
        const QTextCursor cursor = textCursor();
        from = cursor.selectionStart();
        to = cursor.selectionEnd();
    }

    if (format & SF_RTF) {
        QByteArray rtf = selection ? WriteRtf(*d->doc, from, to) : WriteRtf(*d->doc, 0, -1);
        WriteBlocks(stream, reinterpret_cast<std::uint8_t*>(rtf.data()), std::size_t(rtf.size()));
        return ToCount(rtf.size());
    }

    const PlainTextEncoder encoder((format & SF_UNICODE) != 0);
    std::vector<std::uint8_t> bytes;
    std::int64_t written = 0;
    for (int pos = from; pos < to;) {
        int end = std::min(to, pos + OutChunkChars);
        QString text = d->RawText(pos, end);
        // A surrogate pair stays in one chunk so that it encodes as one character.
        if (end < to && text.size() > 1 && text.back().isHighSurrogate()) {
            text.chop(1);
            --end;
        }
        const bool markFirst = pos == from && !text.isEmpty() && text.front().unicode() == CellMark;
        ReplaceTableMarks(*d->doc, pos, text);
        // A table opening the range adds no empty line before it.
        if (markFirst && text.front() == QChar::ParagraphSeparator)
            text.remove(0, 1);
        written += encoder.Encode(text, bytes);
        if (bytes.size() >= std::size_t(StreamBlockBytes)) {
            if (!WriteBlocks(stream, bytes.data(), bytes.size()))
                return ToCount(written);
            bytes.clear();
        }
        pos = end;
    }
    WriteBlocks(stream, bytes.data(), bytes.size());
    return ToCount(written);
}

} // namespace platform
