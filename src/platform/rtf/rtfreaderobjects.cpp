// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader's pictures and objects: {\pict} groups become document images,
// our own {\object} groups embedded or linked objects, and anyone else's objects
// stay the RTF they were, shown by their result picture.
#include "rtfreaderengine.h"

#include "embeddedobject.h"
#include "rtfhex.h"
#include "rtfreaderlimits.h"
#include "textproperties.h"

#include <QTextDocument>

#include <algorithm>

namespace platform {

using namespace rtflimits;

// What an {\object} group said about itself.
struct RtfObjectParts {
    bool embedded = false;
    bool linked = false;
    bool ours = false;          // it names its MIME type, as this program writes
    bool asIcon = false;
    QString name;
    QString className;
    QString mime;
    int widthTwips = 0;
    int heightTwips = 0;
    QByteArray data;
    int dataNibble = -1;
    RtfPicture result;
    bool resultKnown = false;
    bool haveResult = false;
};

namespace {

// Names and types are short; hostile data may not make them long.
constexpr int MaxDestinationText = 4096;
// Result groups nested deeper than this are skipped, not followed.
constexpr int MaxResultDepth = 32;

} // namespace

bool RtfReaderEngine::ReadPictureGroup(RtfPicture& picture, bool& known)
{
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
    int cropl = 0, cropr = 0, cropt = 0, cropb = 0;
    int pendingNibble = -1;
    known = false;
    RtfToken t;
    bool closed = false;
    while (tokens_.Next(t)) {
        if (t.kind == RtfTokenKind::GroupEnd) {
            closed = true;
            break;
        }
        if (t.kind == RtfTokenKind::GroupStart) {
            if (!tokens_.SkipGroup())
                break;
            continue;
        }
        if (t.kind == RtfTokenKind::Text) {
            AppendHexDigits(picture.data, tokens_.Data() + t.textBegin, tokens_.Data() + t.textEnd, pendingNibble);
            continue;
        }
        if (t.kind != RtfTokenKind::ControlWord)
            continue;
        switch (LookUpRtfWord(t.word, t.wordLength)) {
        case RtfWord::Pngblip: picture.kind = RtfPictureKind::Png; known = true; break;
        case RtfWord::Jpegblip: picture.kind = RtfPictureKind::Jpeg; known = true; break;
        case RtfWord::Wmetafile: picture.kind = RtfPictureKind::Wmf; known = true; break;
        case RtfWord::Emfblip: picture.kind = RtfPictureKind::Emf; known = true; break;
        case RtfWord::Piccropl: cropl = Length(t); break;
        case RtfWord::Piccropr: cropr = Length(t); break;
        case RtfWord::Piccropt: cropt = Length(t); break;
        case RtfWord::Piccropb: cropb = Length(t); break;
        case RtfWord::Picw: picw = Clamp(t.parameter, 0, MaxLengthTwips); break;
        case RtfWord::Pich: pich = Clamp(t.parameter, 0, MaxLengthTwips); break;
        case RtfWord::Picwgoal: goalw = Clamp(t.parameter, 0, MaxLengthTwips); break;
        case RtfWord::Pichgoal: goalh = Clamp(t.parameter, 0, MaxLengthTwips); break;
        case RtfWord::Picscalex: scalex = Clamp(t.parameter, 1, 1000); break;
        case RtfWord::Picscaley: scaley = Clamp(t.parameter, 1, 1000); break;
        case RtfWord::Bin: picture.data += tokens_.TakeBinary(t.parameter); break;
        default: break;
        }
    }
    if (!closed) {
        picture.data.clear();   // a picture cut off by the end of data is not shown
        return false;
    }
    // Without a goal size the picture's own size is taken: a metafile's in
    // hundredths of a millimetre, a bitmap's in pixels.
    const bool metafile = picture.kind == RtfPictureKind::Wmf || picture.kind == RtfPictureKind::Emf;
    const qint64 fullw = goalw > 0 ? goalw : metafile ? qint64(picw) * 1440 / 2540 : qint64(picw) * 15;
    const qint64 fullh = goalh > 0 ? goalh : metafile ? qint64(pich) * 1440 / 2540 : qint64(pich) * 15;
    qint64 shownw = fullw, shownh = fullh;
    // Cropping is drawn for metafiles only; a bitmap keeps its whole size as before.
    if (metafile && fullw > 0 && fullh > 0 && fullw - cropl - cropr > 0 && fullh - cropt - cropb > 0) {
        shownw = fullw - cropl - cropr;
        shownh = fullh - cropt - cropb;
        picture.crop = QMarginsF(double(cropl) / fullw, double(cropt) / fullh, double(cropr) / fullw,
                                 double(cropb) / fullh);
    }
    picture.widthTwips = int(std::min<qint64>(shownw * scalex / 100, MaxLengthTwips));
    picture.heightTwips = int(std::min<qint64>(shownh * scaley / 100, MaxLengthTwips));
    return true;
}

void RtfReaderEngine::ReadPicture()
{
    RtfPicture picture;
    bool known = false;
    const int start = cur_.groupStart;
    const bool closed = ReadPictureGroup(picture, known);
    if (known && !picture.data.isEmpty() && InBody()) {
        QTextCharFormat format = ImageFormatFor(*cursor_.document(), picture);
        // A metafile is written back as the RTF it came as, never converted.
        if (PictureKindOf(format) != PictureKind::None)
            format.setProperty(PropEmbeddedObject, QByteArray(tokens_.Data() + start, tokens_.Position() - start));
        builder_.AppendObject(ObjectFormat(format));
    } else if (closed && InBody())
        builder_.AppendObject(ObjectFormat(KeptObjectFormat(QByteArray(tokens_.Data() + start, tokens_.Position() - start))));
    if (closed)
        Pop();
}

QString RtfReaderEngine::ReadDestinationText()
{
    QString text;
    int skip = 0;
    RtfToken t;
    while (tokens_.Next(t)) {
        switch (t.kind) {
        case RtfTokenKind::GroupEnd:
            return text.left(MaxDestinationText);
        case RtfTokenKind::GroupStart:
            if (!tokens_.SkipGroup())
                return text;
            break;
        case RtfTokenKind::Text: {
            int from = t.textBegin;
            while (skip > 0 && from < t.textEnd) {
                ++from;
                --skip;
            }
            if (text.size() < MaxDestinationText)
                text += QString::fromLatin1(tokens_.Data() + from, t.textEnd - from);
            break;
        }
        case RtfTokenKind::HexByte:
            if (skip > 0)
                --skip;
            else if (text.size() < MaxDestinationText)
                text += QChar(t.byte);
            break;
        case RtfTokenKind::ControlSymbol:
            if (t.wordLength == 1 && (t.word[0] == '\\' || t.word[0] == '{' || t.word[0] == '}'))
                text += QChar::fromLatin1(t.word[0]);
            break;
        case RtfTokenKind::ControlWord:
            if (t.Is("u") && t.hasParameter) {
                text += QChar(char16_t(std::uint16_t(t.parameter)));
                skip = 1;
            }
            break;
        default:
            break;
        }
    }
    return text;
}

bool RtfReaderEngine::ReadResultGroup(RtfObjectParts& parts, int depth)
{
    RtfToken t;
    if (!tokens_.Next(t))
        return false;
    if (t.kind == RtfTokenKind::GroupEnd)
        return true;
    if (depth > MaxResultDepth)
        return t.kind == RtfTokenKind::GroupStart ? tokens_.SkipGroup() && tokens_.SkipGroup() : tokens_.SkipGroup();
    if (t.Is("pict")) {
        RtfPicture picture;
        bool known = false;
        if (!ReadPictureGroup(picture, known))
            return false;
        if (!parts.haveResult && known && !picture.data.isEmpty()) {
            parts.result = std::move(picture);
            parts.resultKnown = true;
            parts.haveResult = true;
        }
        return true;
    }
    if (t.kind == RtfTokenKind::ControlSymbol && t.wordLength == 1 && t.word[0] == '*') {
        if (!tokens_.Next(t))
            return false;
        // Word's picture wrapper holds the picture to show; other optional groups are skipped.
        if (t.Is("shppict"))
            return ReadResultContent(parts, depth + 1);
        return t.kind == RtfTokenKind::GroupEnd || tokens_.SkipGroup();
    }
    if (t.Is("nonshppict"))
        return tokens_.SkipGroup();
    if (t.kind == RtfTokenKind::GroupStart && !ReadResultGroup(parts, depth + 1))
        return false;
    return ReadResultContent(parts, depth + 1);
}

bool RtfReaderEngine::ReadResultContent(RtfObjectParts& parts, int depth)
{
    RtfToken t;
    while (tokens_.Next(t)) {
        if (t.kind == RtfTokenKind::GroupEnd)
            return true;
        if (t.kind == RtfTokenKind::GroupStart && !ReadResultGroup(parts, depth))
            return false;
    }
    return false;
}

void RtfReaderEngine::ReadObjectPart(RtfObjectParts& parts)
{
    RtfToken t;
    if (!tokens_.Next(t) || t.kind == RtfTokenKind::GroupEnd)
        return;
    if (t.kind == RtfTokenKind::ControlSymbol && t.wordLength == 1 && t.word[0] == '*' && !tokens_.Next(t))
        return;
    if (t.Is("objname")) {
        parts.name = ReadDestinationText();
    } else if (t.Is("objclass")) {
        parts.className = ReadDestinationText();
    } else if (t.Is("objmime")) {
        parts.mime = ReadDestinationText();
        parts.ours = true;
    } else if (t.Is("objicon")) {
        parts.asIcon = true;
        tokens_.SkipGroup();
    } else if (t.Is("objdata")) {
        while (tokens_.Next(t) && t.kind != RtfTokenKind::GroupEnd) {
            if (t.kind == RtfTokenKind::Text)
                AppendHexDigits(parts.data, tokens_.Data() + t.textBegin, tokens_.Data() + t.textEnd, parts.dataNibble);
            else if (t.kind == RtfTokenKind::GroupStart && !tokens_.SkipGroup())
                break;
        }
    } else if (t.Is("result")) {
        ReadResultContent(parts, 0);
    } else if (t.kind == RtfTokenKind::GroupStart) {
        if (tokens_.SkipGroup())
            tokens_.SkipGroup();
    } else {
        tokens_.SkipGroup();
    }
}

void RtfReaderEngine::ReadObject()
{
    const int start = cur_.groupStart;
    RtfObjectParts parts;
    RtfToken t;
    bool closed = false;
    while (tokens_.Next(t)) {
        if (t.kind == RtfTokenKind::GroupEnd) {
            closed = true;
            break;
        }
        if (t.kind == RtfTokenKind::GroupStart)
            ReadObjectPart(parts);
        else if (t.Is("objemb"))
            parts.embedded = true;
        else if (t.Is("objlink"))
            parts.linked = true;
        else if (t.Is("objw"))
            parts.widthTwips = Clamp(t.parameter, 0, MaxLengthTwips);
        else if (t.Is("objh"))
            parts.heightTwips = Clamp(t.parameter, 0, MaxLengthTwips);
    }
    if (!closed)
        return;   // cut off by the end of data: nothing to show or keep
    if (InBody()) {
        QTextDocument& document = *cursor_.document();
        if (parts.ours && parts.embedded != parts.linked) {
            EmbeddedObject object;
            object.link = parts.linked;
            object.name = parts.name;
            object.mimeType = parts.mime;
            object.asIcon = parts.asIcon;
            if (object.link) {
                object.source = parts.data;
                // A link shown as an icon wrote its icon as the result, which is
                // no picture of its source.
                if (parts.haveResult && !object.asIcon) {
                    object.data = parts.result.data;
                    if (parts.result.widthTwips > 0 && parts.result.heightTwips > 0)
                        object.shownSize = QSizeF(parts.result.widthTwips / 15.0, parts.result.heightTwips / 15.0);
                }
            } else {
                object.data = std::move(parts.data);
            }
            builder_.AppendObject(ObjectFormat(FormatForObject(document, object)));
        } else {
            // Another program's object: written back as it came, shown by its result.
            const QByteArray kept(tokens_.Data() + start, tokens_.Position() - start);
            QTextCharFormat format = parts.haveResult ? ImageFormatFor(document, parts.result) : QTextCharFormat();
            if (!parts.haveResult)
                format = ObjectPlaceholderFormat(kept, parts.className, parts.widthTwips, parts.heightTwips);
            else
                format.setProperty(PropEmbeddedObject, kept);
            builder_.AppendObject(ObjectFormat(format));
        }
    }
    Pop();
}

} // namespace platform
