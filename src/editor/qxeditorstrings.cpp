// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's lines: each operation is a message to the control.
#include "qxeditorstrings.h"

#include "qxeditor.h"
#include "richedit.h"

using namespace platform;

int TqxEditorStrings::Count() const
{
    RichEdit* window = Editor->Window();
    const int n = window->GetLineCount();
    // A text that ends with a line end has an empty last line the list does not show.
    if (n > 0 && window->LineLength(window->LineIndex(n - 1)) == 0)
        return n - 1;
    return n;
}

QString TqxEditorStrings::Get(int index) const
{
    QString line = Editor->Window()->GetLine(index);
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}

void TqxEditorStrings::Put(int index, const QString& s)
{
    if (index < 0)
        return;
    RichEdit* window = Editor->Window();
    const std::int32_t start = window->LineIndex(index);
    if (start == -1)
        return;
    window->ExSetSel({start, start + window->LineLength(start)});
    window->ReplaceSel(s, true);
}

void TqxEditorStrings::Insert(int index, const QString& s)
{
    if (index < 0)
        return;
    RichEdit* window = Editor->Window();
    std::int32_t pos = window->LineIndex(index);
    QString text;
    if (pos >= 0) {
        text = s + QStringLiteral("\r\n");
    } else {
        pos = window->LineIndex(index - 1);
        if (pos < 0)
            return;
        const std::int32_t length = window->LineLength(pos);
        if (length == 0)
            return;
        pos += length;
        text = QStringLiteral("\r\n") + s;
    }
    window->ExSetSel({pos, pos});
    window->ReplaceSel(text, true);
}

void TqxEditorStrings::Delete(int index)
{
    if (index < 0)
        return;
    RichEdit* window = Editor->Window();
    const std::int32_t start = window->LineIndex(index);
    if (start == -1)
        return;
    std::int32_t end = window->LineIndex(index + 1);
    if (end == -1)
        end = start + window->LineLength(start);
    window->ExSetSel({start, end});
    window->ReplaceSel(QString(), true);
}

int TqxEditorStrings::Add(const QString& s)
{
    const int index = Count();
    Insert(index, s);
    return index;
}

void TqxEditorStrings::Clear()
{
    Editor->Clear();
}

QStringList TqxEditorStrings::ToStringList() const
{
    QStringList result;
    const int n = Count();
    result.reserve(n);
    for (int i = 0; i < n; ++i)
        result.append(Get(i));
    return result;
}

QString TqxEditorStrings::Text() const
{
    QString result;
    for (const QString& line : ToStringList())
        result += line + QStringLiteral("\r\n");
    return result;
}

void TqxEditorStrings::SetTextStr(const QString& value)
{
    RichEdit* window = Editor->Window();
    const std::uint32_t mask = window->GetEventMask();
    window->SetEventMask(mask & ~ENM_CHANGE);
    try {
        BeginUpdate();
        Clear();
        // Lines end at CR LF, CR or LF; a final line end makes no extra line.
        qsizetype start = 0;
        const qsizetype n = value.size();
        while (start < n) {
            qsizetype end = start;
            while (end < n && value[end] != QLatin1Char('\r') && value[end] != QLatin1Char('\n'))
                ++end;
            Add(value.mid(start, end - start));
            if (end < n && value[end] == QLatin1Char('\r') && end + 1 < n && value[end + 1] == QLatin1Char('\n'))
                ++end;
            start = end + 1;
        }
        EndUpdate();
    } catch (...) {
        window->SetEventMask(mask);
        throw;
    }
    window->SetEventMask(mask);
}

void TqxEditorStrings::AddStrings(const QStringList& strings)
{
    // Adding line by line moves the selection each time; nobody needs to hear it.
    TNotifyEvent selectionChange = std::move(Editor->OnSelectionChange);
    Editor->OnSelectionChange = nullptr;
    try {
        BeginUpdate();
        for (const QString& s : strings)
            Add(s);
        EndUpdate();
    } catch (...) {
        Editor->OnSelectionChange = std::move(selectionChange);
        throw;
    }
    Editor->OnSelectionChange = std::move(selectionChange);
}

void TqxEditorStrings::Assign(const QStringList& strings)
{
    BeginUpdate();
    Clear();
    AddStrings(strings);
    EndUpdate();
}

void TqxEditorStrings::BeginUpdate()
{
    if (updateCount++ == 0)
        SetUpdateState(true);
}

void TqxEditorStrings::EndUpdate()
{
    if (--updateCount == 0)
        SetUpdateState(false);
}

void TqxEditorStrings::SetUpdateState(bool updating)
{
    if (!Editor->isVisible())
        return;
    Editor->Window()->SetRedraw(!updating);
    if (!updating) {
        Editor->update();
        Editor->Change();
    }
}
