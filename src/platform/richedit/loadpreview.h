// SPDX-License-Identifier: GPL-3.0-or-later
// The first screenful of a long text being streamed in, drawn over the control's
// viewport while the whole document is still being built.
#pragma once

#include <QWidget>

#include <memory>

class QTextDocument;
class QTextEdit;

namespace platform {

class DocumentLayout;

// Read-only and apart from the control: it holds a document of its own, so what
// it shows touches neither the text, its undo nor its notifications. It draws
// over the viewport from the window, since the view of a loading text has its
// updates switched off.
class LoadPreview final : public QWidget {
    Q_OBJECT

public:
    // head: the text's start in a fresh document formatted as the control formats
    // one, wrapped at pageWidth (the width the control will give the whole text).
    LoadPreview(QTextEdit& control, std::unique_ptr<QTextDocument> head, double pageWidth);
    ~LoadPreview() override;

    // Whether the caret at this position leaves the view at the text's start, as drawn here.
    bool ShowsCaret(int position) const;
    // Puts it on screen now: no event is handled on the way.
    void Draw();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTextEdit& control;
    std::unique_ptr<QTextDocument> doc;
    DocumentLayout* layout;   // owned by doc
};

} // namespace platform
