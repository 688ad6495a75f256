// SPDX-License-Identifier: GPL-3.0-or-later
// The first screenful of a long text shown while the rest is still streamed in.
#include "richeditimpl.h"

#include "loadpreview.h"

#include <QScrollBar>
#include <QStyle>

namespace platform {

std::unique_ptr<LoadPreview> RichEdit::Impl::ShowPreview(const QString& head, const RichEdit::PreviewRequest& request)
{
    if (!q->isVisible() || (request.allowed && !request.allowed()))
        return nullptr;
    std::unique_ptr<QTextDocument> start(NewDocument());
    QTextCursor(start.get()).insertText(head);
    // Its links look as they will once the whole text is there.
    if (autoUrlDetect) {
        std::vector<int> marks;
        FindUrlMarks(start->toRawText(), 0, marks);
        DisplayFormats().RestyleFresh(*start, DetectLinksAt(start.get(), std::move(marks)), LinkColor());
    }
    // Wrapped as the whole text will be: without word wrap a long paragraph folds
    // every line at the fold width.
    bool longSeen = false;
    for (QTextBlock block = start->begin(); block.isValid() && !longSeen; block = block.next())
        longSeen = block.length() > LongParagraphChars;
    const bool fold = !wordWrap && longSeen;
    QTextOption option = start->defaultTextOption();
    option.setWrapMode(wordWrap || fold ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    start->setDefaultTextOption(option);
    double width = q->viewport()->width();
    // A text that takes this long to read is taller than the view: its scroll bar
    // will take its share of the width.
    if (verticalBar && !q->verticalScrollBar()->isVisible())
        width -= q->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, q->verticalScrollBar());
    auto preview = std::make_unique<LoadPreview>(*q, std::move(start), fold ? double(FoldWidthPx) : width);
    if (!preview->ShowsCaret(request.caretAt))
        return nullptr;
    preview->Draw();
    if (request.shown)
        request.shown();
    return preview;
}

} // namespace platform
