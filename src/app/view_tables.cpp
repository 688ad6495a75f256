// DOS pseudo-graphic tables of a loaded CP866 file rebuilt as real tables: each
// table the parser finds is replaced, from the last to the first, by an RTF table.
#include "view.h"

#include "dostablertf.h"
#include "qxeditor.h"
#include "richedit.h"

#include <QFile>

#include <algorithm>

void TfmView::DecodeTables()
{
    tables found;
    if (!ParseDosTables(QFile::encodeName(CurFileName).toStdString(), found))
        return;
    platform::RichEdit* control = GEditor->Window();
    control->SetRedraw(false);
    SetEncoding(Rtf);
    GEditor->SetSelection(true);
    const TqxEditorStreamEvent onStream = GEditor->OnStream;
    GEditor->OnStream = nullptr;
    const platform::CHARRANGE saved = control->ExGetSel();
    const std::uint32_t mask = control->SetEventMask(0);

    const std::int32_t charWidth = TableCharWidth(DefFont.Size);
    const std::int64_t length = control->GetTextLength();
    bool built = false;
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        // A table that would drop text standing beside its frame stays as it is.
        if (it->DropsText || it->Rows.empty() || it->StartPos >= length)
            continue;
        platform::CHARRANGE range;
        range.cpMin = static_cast<std::int32_t>(it->StartPos);
        range.cpMax = static_cast<std::int32_t>(std::min(it->EndPos, length));
        control->ExSetSel(range);
        const QByteArray rtf = DosTableRtf(*it, charWidth);
        TTempStream* snapshot = GEditor->TempStream();
        snapshot->Invalidate();
        snapshot->Memory.Write(reinterpret_cast<const std::uint8_t*>(rtf.constData()), std::size_t(rtf.size()));
        snapshot->Memory.SetPosition(0);
        try {
            GEditor->Lines()->LoadFromStream(snapshot->Memory);
            built = true;
        } catch (const std::exception&) {
            // The table stays as pseudo-graphics.
        }
    }
    GEditor->TempStream()->Invalidate();

    HasTables = HasTables || built;
    control->ExSetSel(saved);
    SetEncoding(Dos);
    GEditor->SetSelection(false);
    control->EmptyUndoBuffer();
    GEditor->OnStream = onStream;
    control->SetEventMask(mask);
    control->SetRedraw(true);
}
