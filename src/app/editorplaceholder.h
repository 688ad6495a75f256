// Stand-in for the editor component until it lands: a plain text control with
// the members the window uses, under the same names. Removed when wired in.
#pragma once

#include "converters.h"
#include "enctypes.h"
#include "codepages.h"

#include <QFile>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

#include <functional>
#include <stdexcept>

using TColor = std::int32_t;
inline constexpr TColor clWindow = TColor(0x80000005u);
struct TCaretPos {
    std::int32_t Line = 0;
    std::int32_t Column = 0;
};

class TqxEditor;
class TqxEditorStrings {
public:
    explicit TqxEditorStrings(TqxEditor* e) : Editor(e) {}
    int Count() const;
    QString Get(int index) const;
    void Clear();
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName);
    TqxEditor* Editor;
    TEnc Encoding = Win;
    TDosAdd DosAdd = daNone;
    TUniType UniType = Little;
    bool Selection = false;
    bool AutoEncoding = true;
};

class TqxEditor : public QWidget {
public:
    explicit TqxEditor(QWidget* parent = nullptr) : QWidget(parent), lines(this)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        window = new QTextEdit(this);
        layout->addWidget(window);
        window->setAcceptRichText(false);
        window->setLineWrapMode(QTextEdit::NoWrap);
        QObject::connect(window, &QTextEdit::textChanged, this, [this] { if (OnChange) OnChange(this); });
        QObject::connect(window, &QTextEdit::cursorPositionChanged, this, [this] { if (OnSelectionChange) OnSelectionChange(this); });
    }
    QTextEdit* Window() { return window; }
    void Clear() { window->clear(); SetModified(false); }
    bool Modified() const { return window->document()->isModified(); }
    void SetModified(bool m) { window->document()->setModified(m); }
    bool CanUndo() const { return window->document()->isUndoAvailable(); }
    bool CanRedo() const { return window->document()->isRedoAvailable(); }
    void Undo() { window->undo(); }
    void Redo() { window->redo(); }
    void CopyToClipboard() { window->copy(); }
    void CutToClipboard() { window->cut(); }
    void PasteFromClipboard() { window->paste(); }
    void SelectAll() { window->selectAll(); }
    std::int32_t SelStart() const { return window->textCursor().selectionStart(); }
    std::int32_t SelLength() const { return window->textCursor().selectionEnd() - SelStart(); }
    void SetSelStart(std::int32_t v) { auto c = window->textCursor(); c.setPosition(v); window->setTextCursor(c); }
    void SetSelLength(std::int32_t v) { auto c = window->textCursor(); c.setPosition(SelStart()); c.setPosition(SelStart() + v, QTextCursor::KeepAnchor); window->setTextCursor(c); }
    TCaretPos CaretPos() const { auto b = window->document()->findBlock(SelStart()); return {b.blockNumber(), SelStart() - b.position()}; }
    bool IsEmpty() const { return window->document()->characterCount() < 3; }
    QString Text() const { return window->toPlainText(); }
    void SetText(const QString& t) { window->setPlainText(t); }
    TqxEditorStrings* Lines() { return &lines; }
    TEnc Encoding() const { return lines.Encoding; }
    void SetEncoding(TEnc v) { lines.Encoding = v; }
    TDosAdd DosAdd() const { return lines.DosAdd; }
    void SetDosAdd(TDosAdd v) { lines.DosAdd = v; }
    TUniType UniType() const { return lines.UniType; }
    void SetUniType(TUniType v) { lines.UniType = v; }
    bool AutoEncoding() const { return lines.AutoEncoding; }
    void SetAutoEncoding(bool v) { lines.AutoEncoding = v; }
    bool ReadOnly() const { return window->isReadOnly(); }
    void SetReadOnly(bool v) { window->setReadOnly(v); }
    bool WordWrap() const { return window->lineWrapMode() != QTextEdit::NoWrap; }
    void SetWordWrap(bool v) { window->setLineWrapMode(v ? QTextEdit::WidgetWidth : QTextEdit::NoWrap); }
    void SetAutoURLDetect(bool) {}
    void SetAllowObjects(bool) {}
    void SetColor(TColor) {}
    bool Overwrite() const { return window->overwriteMode(); }
    void SetOverwrite(bool o) { window->setOverwriteMode(o); }
    bool LoadedDosAsUnicode = false;
    bool ExceptMac = false;
    std::function<void(TqxEditor*)> OnChange;
    std::function<void(TqxEditor*)> OnSelectionChange;
    std::function<void(TqxEditor*, std::int64_t, std::int64_t)> OnStream;
    std::function<void(TqxEditor*, const QRect&)> OnResizeRequest;

private:
    QTextEdit* window;
    TqxEditorStrings lines;
};

inline int TqxEditorStrings::Count() const { return Editor->Window()->document()->blockCount(); }
inline QString TqxEditorStrings::Get(int i) const { return Editor->Window()->document()->findBlockByNumber(i).text(); }
inline void TqxEditorStrings::Clear() { Editor->Window()->clear(); }
inline void TqxEditorStrings::LoadFromFile(const QString& name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("Can not open the file");
    QByteArray bytes = f.readAll();
    if (Encoding != Win)
        if (auto c = ReadConverter(Encoding, DosAdd, UniType))
            c(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    QString text(bytes.size(), Qt::Uninitialized);
    platform::DecodeCp1251(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size(), reinterpret_cast<char16_t*>(text.data()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (Editor->OnStream) Editor->OnStream(Editor, bytes.size(), bytes.size());
    Editor->Window()->setPlainText(text);
}
inline void TqxEditorStrings::SaveToFile(const QString& name)
{
    QString text = Editor->Window()->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QByteArray bytes(text.size(), '\0');
    platform::EncodeCp1251(reinterpret_cast<const char16_t*>(text.constData()), text.size(), reinterpret_cast<std::uint8_t*>(bytes.data()));
    if (Encoding != Win)
        if (auto c = WriteConverter(Encoding, DosAdd, UniType))
            c(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("Can not write the file");
}
