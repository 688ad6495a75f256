// SPDX-License-Identifier: GPL-3.0-or-later
// Replace All in one pass over the document: one undo step, the view's caret left
// alone, and the changed text laid out again in the background, not at once.
#include "richeditimpl.h"

namespace platform {

int RichEdit::ReplaceEach(const QString& find, const QString& text, unsigned flags,
                          const std::function<bool(const QString& matched)>& accept,
                          const std::function<void(int position, int length)>& progress)
{
    const unsigned searchFlags = FR_DOWN | (flags & FR_MATCHCASE);
    int at = find.isEmpty() ? -1 : FindTextEx({0, -1}, find, searchFlags);
    if (at < 0)
        return 0;
    NotifyScope scope(*d, UID_UNKNOWN);
    // A cursor of its own: moving the view's cursor to every match would make the
    // view place and lay out each one.
    QTextCursor edit(d->doc);
    edit.beginEditBlock();
    int count = 0;
    int found = 0;
    while (at >= 0) {
        const int end = at + int(find.size());
        int next = end;
        QString matched = d->PlainText(at, end);
        matched.replace(QChar::ParagraphSeparator, u'\r');
        const bool fits = std::int64_t(d->TextLength()) - (end - at) + text.size() <= d->textLimit;
        if (!fits)
            break;
        if ((!accept || accept(matched)) && d->AllowEdit(at, end)) {
            edit.setPosition(at);
            edit.setPosition(end, QTextCursor::KeepAnchor);
            edit.insertText(text);
            next = edit.position();
            ++count;
        }
        if (progress && (++found & 0xFF) == 0)
            progress(next, d->TextLength());
        at = FindTextEx({next, -1}, find, searchFlags);
    }
    // Ending the edit makes the document layout lay out everything between the
    // first and the last replacement before it returns: for a long text, seconds.
    // Without a page size it only forgets the old layout; given its size back, it
    // lays the text out again as after a load, a screenful first, the rest later.
    const QSizeF page = d->doc->pageSize();
    if (count > 0)
        d->doc->setPageSize(QSizeF());
    d->EndStep(edit);
    if (count > 0) {
        d->doc->setPageSize(page);
        d->changePending = true;
    }
    return count;
}

} // namespace platform
