// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing the selection character for character, formats kept (case change).
#include "richeditimpl.h"

#include <QTextBlock>

#include <vector>

namespace platform {

bool RichEdit::ReplaceSelSameLength(const QString& text)
{
    const QTextCursor selection = textCursor();
    const int from = selection.selectionStart();
    const int to = selection.selectionEnd();
    // Numbers, not the cursor: a cursor moves with the text written at it.
    const int anchor = selection.anchor();
    const int position = selection.position();
    if (to - from != text.size() || !d->AllowEdit(from, to))
        return false;
    // Only the runs that change are written, each with the format of its fragment,
    // so that nothing between them (objects, marks, other formats) is touched. The
    // runs are found first: writing changes the fragments being walked.
    struct Run {
        int at;
        int length;
        QTextCharFormat format;
    };
    std::vector<Run> runs;
    for (QTextBlock block = d->doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int a = std::max(from, fragment.position());
            const int b = std::min(to, fragment.position() + fragment.length());
            if (a >= b)
                continue;
            const QString old = fragment.text().mid(a - fragment.position(), b - a);
            for (int i = 0; i < old.size();) {
                if (old[i] == text[a - from + i]) {
                    ++i;
                    continue;
                }
                int j = i;
                while (j < old.size() && old[j] != text[a - from + j])
                    ++j;
                runs.push_back({a + i, j - i, fragment.charFormat()});
                i = j;
            }
        }
    }
    if (runs.empty())
        return true;
    NotifyScope scope(*d, UID_UNKNOWN);
    QTextCursor edit(d->doc);
    edit.beginEditBlock();
    for (const Run& run : runs) {
        edit.setPosition(run.at);
        edit.setPosition(run.at + run.length, QTextCursor::KeepAnchor);
        edit.insertText(text.mid(run.at - from, run.length), run.format);
    }
    d->EndStep(edit);
    QTextCursor kept = textCursor();
    kept.setPosition(anchor);
    kept.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(kept);
    return true;
}

} // namespace platform
