// SPDX-License-Identifier: GPL-3.0-or-later
// Moving the editor's text into and out of a journal state through the control's RTF.
#include "journalsnapshot.h"

#include "qxeditor.h"
#include "richedit.h"
#include "streams.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr int PreviewLines = 3;
constexpr int PreviewChars = 160;

std::uint32_t Collect(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    reinterpret_cast<QByteArray*>(cookie)->append(reinterpret_cast<const char*>(buffer), cb);
    *pcb = cb;
    return 0;
}

QString Preview(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock block = doc.firstBlock(); block.isValid() && lines.size() < PreviewLines; block = block.next()) {
        // A byte-order mark stays in the text as an invisible first character.
        const QString text = block.text().left(PreviewChars).remove(QChar(0xFEFF)).trimmed();
        if (!text.isEmpty())
            lines << text;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TJournalState TakeJournalText(TqxEditor& editor)
{
    TJournalState state;
    platform::RichEdit* control = editor.Window();
    platform::EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<std::uintptr_t>(&state.rtf);
    stream.pfnCallback = Collect;
    control->StreamOut(platform::SF_RTF, stream);
    state.selStart = editor.SelStart();
    state.selLength = editor.SelLength();
    state.characters = control->Document()->characterCount() - 1;
    state.byteOrderMark = control->Document()->characterAt(0) == QChar(QChar::ByteOrderMark);
    state.preview = Preview(*control->Document());
    return state;
}

void ShowJournalText(TqxEditor& editor, const TJournalState& state)
{
    const TEnc encoding = editor.Encoding();
    const bool autoEncoding = editor.AutoEncoding();
    editor.SetEncoding(Rtf);
    editor.SetAutoEncoding(false);
    TMemoryStream stream(std::vector<std::uint8_t>(state.rtf.begin(), state.rtf.end()));
    try {
        editor.Lines()->LoadFromStream(stream);
    } catch (...) {
        editor.SetEncoding(encoding);
        editor.SetAutoEncoding(autoEncoding);
        throw;
    }
    editor.SetAutoEncoding(autoEncoding);
    if (state.byteOrderMark) {
        // Put back as the text's first character, outside the undo history.
        QTextDocument* doc = editor.Window()->Document();
        const bool undo = doc->isUndoRedoEnabled();
        doc->setUndoRedoEnabled(false);
        QTextCursor(doc).insertText(QString(QChar(QChar::ByteOrderMark)));
        doc->setUndoRedoEnabled(undo);
    }
    editor.SetEncoding(TEnc(state.encoding));
    editor.SetUniType(TUniType(state.uniType));
    editor.SetDosAdd(TDosAdd(state.dosAdd));
    editor.SetSelStart(state.selStart);
    editor.SetSelLength(state.selLength);
}
