// SPDX-License-Identifier: GPL-3.0-or-later
// DOS pseudo-graphic tables of a loaded CP866 file rebuilt as real tables: the
// text is read in again as RTF with each table the parser found in its place.
#include "view.h"

#include "dostablertf.h"
#include "filenames.h"
#include "qxeditor.h"
#include "richedit.h"

#include <algorithm>
#include <vector>

void TfmView::DecodeTables()
{
    tables found;
    if (!ParseDosTables(platform::FileNameBytes(CurFileName).toStdString(), found))
        return;
    platform::RichEdit* control = GEditor->Window();
    const QString text = control->GetTextRange(0, control->GetTextLength());
    const std::int64_t length = text.size();
    std::vector<const table*> usable;
    for (const table& t : found) {
        // A table that would drop text standing beside its frame stays as it is.
        const bool hasColumns =
            std::any_of(t.Rows.begin(), t.Rows.end(), [](const line& row) { return row.size() > 1; });
        if (!t.DropsText && hasColumns && t.StartPos < t.EndPos && t.StartPos < length)
            usable.push_back(&t);
    }
    if (usable.empty())
        return;

    // The whole text goes in once, tables in place, rather than table by table:
    // each insertion into the shown document laid all of it out again.
    const std::int32_t charWidth = TableCharWidth(DefFont.Size);
    QByteArray rtf = "{\\rtf1\\ansi\\deff0 ";
    rtf.reserve(qsizetype(length) * 2 + 64);
    std::int64_t pos = 0;
    for (const table* t : usable) {
        AppendPlainText(rtf, QStringView(text).mid(qsizetype(pos), qsizetype(t->StartPos - pos)));
        AppendTableRows(rtf, *t, charWidth);
        // The text after a table is no longer in it.
        rtf += "\\pard ";
        pos = std::min(t->EndPos, length);
    }
    AppendPlainText(rtf, QStringView(text).mid(qsizetype(pos)));
    // The RTF reader takes the last \par as the end of the last paragraph, not
    // as a line end of its own: without it a text ending with a line end loses it.
    rtf += "\\par}";

    control->SetRedraw(false);
    const TqxEditorStreamEvent onStream = GEditor->OnStream;
    GEditor->OnStream = nullptr;
    const platform::CHARRANGE saved = control->ExGetSel();
    const std::uint32_t mask = control->SetEventMask(0);
    SetEncoding(Rtf);
    GEditor->SetSelection(false);
    TTempStream* snapshot = GEditor->TempStream();
    snapshot->Invalidate();
    snapshot->Memory.Write(reinterpret_cast<const std::uint8_t*>(rtf.constData()), std::size_t(rtf.size()));
    snapshot->Memory.SetPosition(0);
    try {
        GEditor->Lines()->LoadFromStream(snapshot->Memory);
        HasTables = true;
    } catch (const std::exception&) {
        // The text stays with its pseudo-graphics.
    }
    snapshot->Invalidate();
    control->ExSetSel(saved);
    SetEncoding(Dos);
    GEditor->SetSelection(false);
    control->EmptyUndoBuffer();
    GEditor->OnStream = onStream;
    control->SetEventMask(mask);
    control->SetRedraw(true);
}
