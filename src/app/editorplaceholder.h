// Stand-in for the editor component until it lands: a plain text control with
// the few members the window uses. Removed when the real component is wired in.
#pragma once

#include <QTextEdit>

#include <functional>

class TqxEditor : public QTextEdit {
public:
    explicit TqxEditor(QWidget* parent = nullptr) : QTextEdit(parent)
    {
        setAcceptRichText(false);
        connect(this, &QTextEdit::textChanged, this, [this] { if (OnChange) OnChange(); });
        connect(this, &QTextEdit::cursorPositionChanged, this, [this] { if (OnSelectionChange) OnSelectionChange(); });
        connect(this, &QTextEdit::selectionChanged, this, [this] { if (OnSelectionChange) OnSelectionChange(); });
    }
    bool Modified() const { return document()->isModified(); }
    void SetModified(bool m) { document()->setModified(m); }
    bool CanUndo() const { return document()->isUndoAvailable(); }
    bool CanRedo() const { return document()->isRedoAvailable(); }
    bool IsEmpty() const { return document()->characterCount() < 3; }
    bool Overwrite() const { return overwriteMode(); }
    void SetOverwrite(bool o) { setOverwriteMode(o); }
    std::function<void()> OnChange;
    std::function<void()> OnSelectionChange;
};
