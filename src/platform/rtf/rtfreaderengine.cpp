// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader's token walk: the stack of group states, \uN skipping and the
// text of each destination (words and destinations are in files of their own).
#include "rtfreaderengine.h"

#include <QTextDocument>

#include <algorithm>

namespace platform {

RtfReaderEngine::RtfReaderEngine(const QByteArray& data, QTextCursor& cursor)
    : tokens_(data), cursor_(cursor), builder_(cursor, tables_), cellLookBudget_(std::int64_t(data.size()) * 4 + 4096)
{
    if (const QTextDocument* document = cursor.document()) {
        const QFont base = document->defaultFont();
        tables_.baseBold = base.bold();
        tables_.baseItalic = base.italic();
        tables_.baseUnderline = base.underline();
        tables_.baseStrike = base.strikeOut();
    }
}

void RtfReaderEngine::Read()
{
    RtfToken t;
    bool groupOpened = false;
    bool starred = false;
    while (!ended_ && tokens_.Next(t)) {
        switch (t.kind) {
        case RtfTokenKind::GroupStart:
            Push();
            skip_ = 0;
            groupOpened = true;
            starred = false;
            continue;
        case RtfTokenKind::GroupEnd:
            skip_ = 0;
            groupOpened = false;
            Pop();
            continue;
        case RtfTokenKind::ControlSymbol:
            if (groupOpened && t.word[0] == '*') {
                starred = true;
                continue;
            }
            groupOpened = false;
            if (skip_ > 0) {
                --skip_;
                continue;
            }
            if (t.wordLength == 1)
                Symbol(t.word[0]);
            continue;
        case RtfTokenKind::ControlWord: {
            if (t.Is("bin")) {
                // Binary data outside a picture means nothing to this reader.
                tokens_.TakeBinary(t.parameter);
                groupOpened = false;
                continue;
            }
            if (skip_ > 0) {
                --skip_;
                groupOpened = false;
                continue;
            }
            const bool first = groupOpened;
            groupOpened = false;
            const RtfWord w = LookUpRtfWord(t.word, t.wordLength);
            if (first && StartDestination(t, w))
                continue;
            if (first && starred) {
                // A destination of another program's that holds table cells holds
                // the table's text too: it is read, only its own word is not.
                if (!InBody() || !tokens_.GroupHolds({"cell", "nestcell"}, cellLookBudget_))
                    SkipRestOfGroup();
                continue;
            }
            Word(t, w);
            continue;
        }
        case RtfTokenKind::HexByte:
            groupOpened = false;
            if (skip_ > 0) {
                --skip_;
                continue;
            }
            HexByte(t.byte);
            continue;
        case RtfTokenKind::Text: {
            groupOpened = false;
            int begin = t.textBegin;
            if (skip_ > 0) {
                const int n = std::min(skip_, t.textEnd - begin);
                skip_ -= n;
                begin += n;
            }
            if (begin < t.textEnd)
                Text(tokens_.Data() + begin, t.textEnd - begin);
            continue;
        }
        case RtfTokenKind::End:
            break;
        }
    }
    // Whatever destination was open when the data ended is closed in order.
    while (!ended_ && cur_.dest != RtfDestination::Body && Pop()) {
    }
    builder_.Finish(cur_.para);
}

void RtfReaderEngine::Push()
{
    if (int(stack_.size()) >= MaxDepth) {
        ++overflow_;
        return;
    }
    stack_.push_back(cur_);
    cur_.groupStart = tokens_.Position() - 1;
    if (cur_.dest == RtfDestination::Stylesheet) {
        // Each group of the style sheet defines one style from plain formats.
        cur_.dest = RtfDestination::StyleEntry;
        cur_.ch = RtfCharState();
        cur_.ch.font = deff_;
        cur_.para = RtfParaState();
        styleNumber_ = 0;
    }
}

bool RtfReaderEngine::Pop()
{
    if (overflow_ > 0) {
        --overflow_;
        return true;
    }
    if (stack_.size() <= 1) {
        // The document's own group closed: what follows is not RTF. Its state
        // stays, as the last paragraph still needs it.
        ended_ = true;
        return false;
    }
    const GroupState closed = cur_;
    cur_ = stack_.back();
    stack_.pop_back();
    if (closed.dest != cur_.dest)
        CloseDestination(closed);
    return true;
}

QString* RtfReaderEngine::TextTarget()
{
    switch (cur_.dest) {
    case RtfDestination::Body:
    case RtfDestination::NestTableProps:
        return &builder_.Text(cur_.ch);
    case RtfDestination::FontTable:
        return fontOpen_ ? &fontName_ : nullptr;
    case RtfDestination::PnTextBefore:
    case RtfDestination::PnTextAfter:
        return &scratch_;
    case RtfDestination::FieldInstruction:
        if (cur_.field > 0 && size_t(cur_.field) <= fields_.size())
            return &fields_[size_t(cur_.field - 1)];
        return nullptr;
    case RtfDestination::LevelText:
        return &level_.text;
    default:
        return nullptr;
    }
}

void RtfReaderEngine::AppendUnits(const QString& units)
{
    if (QString* target = TextTarget())
        target->append(units);
}

void RtfReaderEngine::SelectCodePage()
{
    if (cur_.dest == RtfDestination::FontTable) {
        decoder_.SetCodePage(font_.codePage != 0 ? font_.codePage
                                                 : (tables_.ansiCodePage ? tables_.ansiCodePage : DefaultAnsiCodePage));
        decoderFont_ = -2;
        return;
    }
    if (cur_.ch.font != decoderFont_ || tables_.ansiCodePage != decoderAnsi_) {
        decoder_.SetCodePage(tables_.CodePageOf(cur_.ch.font));
        decoderFont_ = cur_.ch.font;
        decoderAnsi_ = tables_.ansiCodePage;
    }
}

void RtfReaderEngine::Text(const char* bytes, int n)
{
    switch (cur_.dest) {
    case RtfDestination::FontTable: {
        if (!fontOpen_)
            return;
        for (int i = 0; i < n; ++i) {
            if (bytes[i] == ';') {
                FinishFont();
                continue;
            }
            SelectCodePage();
            decoder_.Append(std::uint8_t(bytes[i]), fontName_);
        }
        return;
    }
    case RtfDestination::ColorTable:
        for (int i = 0; i < n; ++i)
            if (bytes[i] == ';')
                FinishColor();
        return;
    case RtfDestination::LevelText:
        for (int i = 0; i < n; ++i)
            level_.text.append(QChar(char16_t(std::uint8_t(bytes[i]))));
        return;
    default:
        break;
    }
    QString* target = TextTarget();
    if (!target)
        return;
    SelectCodePage();
    decoder_.Append(bytes, n, *target);
}

void RtfReaderEngine::HexByte(std::uint8_t byte)
{
    if (cur_.dest == RtfDestination::LevelText) {
        level_.text.append(QChar(char16_t(byte)));
        return;
    }
    if (cur_.dest == RtfDestination::FontTable) {
        if (fontOpen_) {
            SelectCodePage();
            decoder_.Append(byte, fontName_);
        }
        return;
    }
    QString* target = TextTarget();
    if (!target)
        return;
    SelectCodePage();
    decoder_.Append(byte, *target);
}

} // namespace platform
