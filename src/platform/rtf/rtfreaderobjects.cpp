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

namespace platform {

using namespace rtflimits;

// What an {\object} group said about itself.
struct RtfObjectParts {
    bool embedded = false;
    bool linked = false;
    bool ours = false;          // it names its MIME type, as this program writes
    bool asIcon = false;
    QString name;
    QString mime;
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
    // Without a goal size the picture's own size is taken as pixels.
    picture.widthTwips = (goalw > 0 ? goalw : picw * 15) * scalex / 100;
    picture.heightTwips = (goalh > 0 ? goalh : pich * 15) * scaley / 100;
    return true;
}

void RtfReaderEngine::ReadPicture()
{
    RtfPicture picture;
    bool known = false;
    const int start = cur_.groupStart;
    const bool closed = ReadPictureGroup(picture, known);
    if (known && !picture.data.isEmpty() && InBody())
        builder_.AppendObject(ObjectFormat(ImageFormatFor(*cursor_.document(), picture)));
    else if (closed && InBody())
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
                format = KeptObjectFormat(kept);
            else
                format.setProperty(PropEmbeddedObject, kept);
            builder_.AppendObject(ObjectFormat(format));
        }
    }
    Pop();
}

} // namespace platform
