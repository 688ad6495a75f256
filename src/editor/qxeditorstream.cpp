// SPDX-License-Identifier: GPL-3.0-or-later
// The stream path: the control's text in and out through TConversion, files with
// detection, DOS graphics widened to UTF-16, and saving that never harms the old file.
#include "qxeditorstrings.h"

#include "conversion.h"
#include "converters.h"
#include "detect.h"
#include "qlconsts.h"
#include "editorerrors.h"
#include "qxeditor.h"
#include "richedit.h"
#include "safefile.h"
#include "utf8.h"

#include <algorithm>
#include <exception>
#include <span>
#include <vector>

using namespace platform;

namespace {

// The cookie of one EM_STREAMIN or EM_STREAMOUT.
struct TEditStreamRecord {
    TqxEditor* Editor = nullptr;
    TConversion* Conversion = nullptr;
    TStream* Stream = nullptr;
    std::int64_t Position = 0;
    std::int64_t Size = 0;
    // A read or write failure of the stream itself: reported as it is, since
    // retrying in the other format cannot help and "from memory" would mislead.
    std::exception_ptr Failure;

    TEditStreamRecord(TqxEditor* editor, TConversion& conversion, TStream& stream)
        : Editor(editor), Conversion(&conversion), Stream(&stream), Position(stream.Position()), Size(stream.Size())
    {
    }
};

std::uint32_t ReadCallback(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    *pcb = 0;
    auto* record = reinterpret_cast<TEditStreamRecord*>(cookie);
    try {
        const std::size_t count = record->Conversion
                                      ? record->Conversion->ConvertRead(*record->Stream, buffer, std::size_t(cb))
                                      : record->Stream->Read(buffer, std::size_t(cb));
        *pcb = std::int32_t(count);
        if (count >= 1 && record->Editor->OnStream) {
            // The stream's own position: UTF-8 hands the control more bytes than it reads.
            record->Position = record->Stream->Position();
            record->Editor->OnStream(record->Editor, record->Size, record->Position);
        }
        return 0;
    } catch (const EEditorError&) {
        if (!record->Failure)
            record->Failure = std::current_exception();
        return 1;
    } catch (...) {
        return 1;
    }
}

std::uint32_t WriteCallback(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    *pcb = 0;
    auto* record = reinterpret_cast<TEditStreamRecord*>(cookie);
    try {
        if (record->Conversion)
            *pcb = std::int32_t(record->Conversion->ConvertWrite(*record->Stream, buffer, std::size_t(cb)));
        return 0;
    } catch (const EEditorError&) {
        if (!record->Failure)
            record->Failure = std::current_exception();
        return 2;
    } catch (...) {
        return 2;
    }
}

unsigned StreamFormat(TEnc encoding, bool selection)
{
    unsigned format = encoding == Rtf                     ? SF_RTF
                      : encoding == Uni || encoding == Utf8 ? SF_TEXT | SF_UNICODE
                                                            : SF_TEXT;
    if (selection)
        format |= SFF_SELECTION;
    return format;
}

// DOS text is widened in blocks of this many bytes.
constexpr std::size_t WidenBlockSize = 2048;

// A file as the control reads it: the end is reached only once the file is known
// to be the one that was opened, so a file changed meanwhile fails the stream and
// the control keeps the text it had.
class TUnchangedFileStream : public TStream {
public:
    explicit TUnchangedFileStream(TFileReadStream& file) : file(file) {}

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override
    {
        const std::size_t n = file.Read(buffer, count);
        if (n < count)
            file.CheckUnchanged();
        return n;
    }
    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override { return file.Write(buffer, count); }
    std::int64_t Position() const override { return file.Position(); }
    void SetPosition(std::int64_t value) override { file.SetPosition(value); }
    std::int64_t Size() const override { return file.Size(); }

private:
    TFileReadStream& file;
};

// The characters (UTF-16 units) a UTF-8 file decodes to, replacements included.
std::int64_t Utf8Characters(const TFileReadStream& file)
{
    constexpr std::size_t Block = std::size_t(1) << 20;
    std::vector<std::uint8_t> in(Block);
    std::vector<std::uint8_t> out(Utf8DecodedMax(Block));
    TUtf8Decoder decoder;
    std::int64_t units = 0;
    for (std::int64_t at = 0; at < file.Size();) {
        const std::size_t n = file.ReadAt(at, in.data(), Block);
        if (n == 0)
            break;
        units += std::int64_t(decoder.Feed(in.data(), n, out.data()) / 2);
        at += std::int64_t(n);
    }
    return units + std::int64_t(decoder.Finish(out.data()) / 2);
}

} // namespace

void TqxEditorStrings::LoadFromStream(TStream& stream)
{
    TConversion conversion(Encoding, DosAdd, UniType);
    TEditStreamRecord record(Editor, conversion, stream);
    const std::int64_t start = record.Position;

    RichEdit* window = Editor->Window();
    EDITSTREAM editStream;
    editStream.dwCookie = reinterpret_cast<std::uintptr_t>(&record);
    editStream.pfnCallback = ReadCallback;
    window->StreamIn(StreamFormat(Encoding, Selection), editStream);
    if (editStream.dwError != 0) {
        if (record.Failure)
            std::rethrow_exception(record.Failure);
        // Once more in the other kind: RTF that is not RTF goes in as plain bytes
        // (the conversion still says Rtf, so nothing is recoded); text the control
        // refuses is tried as RTF.
        stream.SetPosition(start);
        record.Position = start;   // progress restarts with the bytes
        unsigned format = SF_TEXT;
        if (Encoding != Rtf) {
            conversion.Encoding = Rtf;
            format = SF_RTF;
        }
        if (Selection)
            format |= SFF_SELECTION;
        editStream.dwError = 0;
        window->StreamIn(format, editStream);
        if (editStream.dwError != 0) {
            if (record.Failure)
                std::rethrow_exception(record.Failure);
            throw EOutOfResources(QlConsts::TextLoadingFromMemory);
        }
    }
    Editor->LoadedInvalidUtf8 = conversion.Replaced();
    Editor->ApplyAlignment();
}

void TqxEditorStrings::SaveToStream(TStream& stream)
{
    TConversion conversion(Encoding, DosAdd, UniType);
    TEditStreamRecord record(Editor, conversion, stream);

    EDITSTREAM editStream;
    editStream.dwCookie = reinterpret_cast<std::uintptr_t>(&record);
    editStream.pfnCallback = WriteCallback;
    Editor->Window()->StreamOut(StreamFormat(Encoding, Selection), editStream);
    if (editStream.dwError != 0)
        throw EOutOfResources(QlConsts::TextSavingToMemory);
    conversion.FinishWrite(stream);
}

void TqxEditorStrings::LoadFromFile(const QString& fileName)
{
    // A file of unknown size is read no further than could still fit: UTF-8 takes
    // up to three bytes for what the control holds in one character.
    TFileReadStream file(fileName, 3 * Editor->Capacity() + 3);

    auto detect = [&file] {
        std::vector<std::uint8_t> sample(std::size_t(std::min<std::int64_t>(file.Size(), DetectSampleSize)));
        const std::size_t n = file.ReadAt(0, sample.data(), sample.size());
        return DetectEncoding(std::span<const std::uint8_t>(sample.data(), n));
    };

    // Decide first, change the editor only once the file is known to fit.
    TEnc encoding = Encoding;
    TUniType uniType = UniType;
    bool widen = false;
    if (AutoEncoding) {
        const TDetectResult found = ApplyExceptMac(detect(), Editor->ExceptMac);
        encoding = found.Enc;
        uniType = found.UniType;
        widen = found.HasGraphics && found.Enc == Dos && DosAdd == daUNI;
    } else if (DosAdd == daUNI && (Encoding == Dos || Encoding == Uni)) {
        const TDetectResult found = detect();
        widen = found.HasGraphics && found.Enc == Dos;
    }

    const std::int64_t capacity = Editor->Capacity();
    std::int64_t characters = (encoding == Uni && !widen) ? file.Size() / 2 : file.Size();
    // UTF-8's bytes are only a bound: Russian takes two a letter, so a file twice
    // the control's size may still fit. Counted exactly only when it matters.
    if (encoding == Utf8 && characters > capacity)
        characters = Utf8Characters(file);
    if (characters > capacity)
        throw EFOpenError(QString::fromUtf8(QlConsts::FileTooLarge)
                              .arg(fileName).arg(characters).arg(capacity).toStdString());

    // A load that fails leaves the text and these settings as they were.
    const TEnc oldEncoding = Encoding;
    const TUniType oldUniType = UniType;
    try {
        Encoding = encoding;
        UniType = uniType;
        if (widen) {
            // Widened into a buffer of its own: the conversion snapshot still
            // belongs to the text shown until the new one is in.
            TMemoryStream wide;
            std::uint8_t in[WidenBlockSize + 1];
            std::uint8_t out[2 * WidenBlockSize + 1];
            for (;;) {
                const std::size_t n = file.Read(in, WidenBlockSize);
                if (n == 0)
                    break;
                DosToUnicode(in, n, out);
                wide.Write(out, 2 * n);
            }
            file.CheckUnchanged();
            Encoding = Uni;
            UniType = Little;
            wide.SetPosition(0);
            LoadFromStream(wide);
            Editor->TempStream()->Invalidate();
        } else {
            TUnchangedFileStream checked(file);
            LoadFromStream(checked);
        }
    } catch (...) {
        Encoding = oldEncoding;
        UniType = oldUniType;
        throw;
    }
    Editor->LoadedDosAsUnicode = widen;
}

void TqxEditorStrings::SaveToFile(const QString& fileName)
{
    TSafeFileWriter file(fileName);
    try {
        SaveToStream(file);
        file.Commit();
    } catch (...) {
        throw EWriteError(QlConsts::FileWritingError);
    }
}
