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
inline constexpr TColor clBlack = 0;
inline constexpr TColor clWindow = TColor(0x80000005u);
enum class TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
struct TFontStyles {
    std::uint32_t bits = 0;
    TFontStyles() = default;
    TFontStyles(std::initializer_list<TFontStyle> l) { for (auto v : l) Include(v); }
    void Include(TFontStyle v) { bits |= 1u << unsigned(v); }
    bool Contains(TFontStyle v) const { return bits & (1u << unsigned(v)); }
};
using TFontCharset = std::uint8_t;
struct TFont {
    QString Name = QStringLiteral("Courier New");
    int Size = 10;
    TColor Color = 0;
    TFontStyles Style;
    TFontCharset Charset = 1;
};
enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
class TParaAttributes {
public:
    std::uint8_t Alignment() const { return 0; }
    void SetAlignment(std::uint8_t) {}
    std::uint8_t Numbering() const { return 0; }
    void SetNumbering(std::uint8_t) {}
    void SetFirstIndent(double) {}
    void SetLeftIndent(double) {}
    void SetRightIndent(double) {}
};
class TTempStream {
public:
    void Invalidate() {}
};
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
    const TFont& Font() const { return font; }
    void SetFont(const TFont& f)
    {
        font = f;
        QFont q(f.Name);
        q.setStyleHint(QFont::Monospace);
        q.setPointSize(f.Size);
        q.setBold(f.Style.Contains(TFontStyle::fsBold));
        window->setFont(q);
    }
    TParaAttributes* Paragraph() { return &paragraph; }
    TTempStream* TempStream() { return &tempStream; }
    void SetSelText(const QString& t) { window->textCursor().insertText(t); }
    void SetEditRect() {}
    void SetScrollBars(TScrollStyle) {}
    void SetWantTabs(bool) {}
    void SetHideSelection(bool) {}
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
    TFont font;
    TParaAttributes paragraph;
    TTempStream tempStream;
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
