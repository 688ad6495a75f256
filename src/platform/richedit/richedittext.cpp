// SPDX-License-Identifier: GPL-3.0-or-later
// The control's text and selection: set, read, select, replace.
#include "richeditimpl.h"

#include <QApplication>
#include <QTextBlock>

namespace platform {

namespace {

// The control hands out paragraph ends as CR, one character for one position.
QString WithCrEnds(QString text)
{
    text.replace(QChar::ParagraphSeparator, u'\r');
    return text;
}

} // namespace

void RichEdit::SetText(const QString& text)
{
    NotifyScope scope(*d, UID_UNKNOWN);
    QTextDocument* fresh = d->NewDocument();
    QTextCursor cursor(fresh);
    cursor.insertText(text);
    if (d->autoUrlDetect) {
        std::vector<UrlRange> links;
        FindUrls(fresh->toRawText(), 0, links);
        MarkLinks(fresh, links);
    }
    d->AttachDocument(fresh);
    d->changePending = true;
}

std::int32_t RichEdit::GetTextLength() const
{
    return d->TextLength();
}

QString RichEdit::GetTextRange(std::int32_t cpMin, std::int32_t cpMax) const
{
    if (cpMax < 0)
        cpMax = d->TextLength();
    return WithCrEnds(d->PlainText(d->Clamp(cpMin), d->Clamp(cpMax)));
}

CHARRANGE RichEdit::ExGetSel() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void RichEdit::ExSetSel(CHARRANGE range)
{
    SetSel(range.cpMin, range.cpMax);
}

void RichEdit::SetSel(std::int32_t start, std::int32_t end)
{
    NotifyScope scope(*d);
    const int length = d->TextLength();
    if (start == 0 && end == -1) {
        d->PlaceCaret(0, length);
    } else if (start < 0) {
        // -1 as the start removes the selection and leaves the caret where it was.
        const int caret = textCursor().position();
        d->PlaceCaret(caret, caret);
    } else {
        d->PlaceCaret(start, end < 0 ? length : end);
    }
}

void RichEdit::ReplaceSel(const QString& text, bool undoable)
{
    QTextCursor cursor = textCursor();
    if (!d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    QString insert = text;
    const std::int64_t room = std::int64_t(d->textLimit) - (d->TextLength() - (cursor.selectionEnd() - cursor.selectionStart()));
    if (room < insert.size())
        insert.truncate(qsizetype(std::max<std::int64_t>(0, room)));

    NotifyScope scope(*d, UID_UNKNOWN);
    const bool undoWas = d->doc->isUndoRedoEnabled();
    if (!undoable && undoWas) {
        // Steps recorded before a change that is not recorded could not be
        // undone correctly any more, so the buffer is emptied.
        d->doc->setUndoRedoEnabled(false);
        d->ClearUndoNames();
    }
    cursor.beginEditBlock();
    if (d->ReplaceKeepingTables(cursor.selectionStart(), cursor.selectionEnd(), text)) {
        d->EndStep(cursor);
    } else {
        cursor.insertText(insert);
        d->EndStep(cursor);
        setTextCursor(cursor);
    }
    if (!undoable && undoWas) {
        d->doc->setUndoRedoEnabled(true);
        d->doc->setModified(true);
    }
}

QString RichEdit::GetSelText() const
{
    const QTextCursor cursor = textCursor();
    return WithCrEnds(d->PlainText(cursor.selectionStart(), cursor.selectionEnd()));
}

unsigned RichEdit::SelectionType() const
{
    const QTextCursor cursor = textCursor();
    const int from = cursor.selectionStart();
    const int to = cursor.selectionEnd();
    if (from == to)
        return SEL_EMPTY;
    int objects = 0;
    int others = 0;
    for (QTextBlock block = d->doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int a = std::max(from, fragment.position());
            const int b = std::min(to, fragment.position() + fragment.length());
            if (a >= b)
                continue;
            if (fragment.charFormat().objectType() != QTextFormat::NoObject)
                objects += b - a;
            else
                others += b - a;
        }
        if (block.position() + block.length() <= to && block.next().isValid())
            ++others;   // the paragraph end
    }
    unsigned type = 0;
    if (others > 0)
        type |= SEL_TEXT;
    if (others > 1)
        type |= SEL_MULTICHAR;
    if (objects == 1)
        type |= SEL_OBJECT;
    if (objects > 1)
        type |= SEL_MULTIOBJECT;
    return type;
}

} // namespace platform
