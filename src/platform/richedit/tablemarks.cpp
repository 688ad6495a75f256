// SPDX-License-Identifier: GPL-3.0-or-later
// Table marks as plain text.
#include "tablemarks.h"

#include <QTextDocument>
#include <QTextTable>

namespace platform {

namespace {

// A cell mark stands before the first position of its cell; the cells after the
// first of a row are separated from it by a TAB.
bool StartsLaterCell(const QTextDocument& doc, int markPos)
{
    const auto* table = qobject_cast<const QTextTable*>(doc.frameAt(markPos + 1));
    if (!table)
        return false;
    const QTextTableCell cell = table->cellAt(markPos + 1);
    return cell.isValid() && cell.firstPosition() == markPos + 1 && cell.column() > 0;
}

} // namespace

bool HasTableMarks(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() == CellMark || c.unicode() == TableEndMark)
            return true;
    return false;
}

void ReplaceTableMarks(const QTextDocument& doc, int from, QString& text)
{
    if (doc.rootFrame()->childFrames().isEmpty())
        return;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == CellMark)
            text[i] = StartsLaterCell(doc, from + int(i)) ? QChar(u'\t') : QChar(QChar::ParagraphSeparator);
        else if (c == TableEndMark)
            text[i] = QChar(QChar::ParagraphSeparator);
    }
}

} // namespace platform
