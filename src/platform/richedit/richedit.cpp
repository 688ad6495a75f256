// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-edit control's life cycle, its document, notifications and display.
#include "quietqt.h"
#include "richeditimpl.h"

#include "picturehandler.h"
#include "tablemarks.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QtMath>

namespace platform {

NotifyScope::NotifyScope(RichEdit::Impl& impl, int undoName) : d(impl), savedName(impl.pendingUndoName)
{
    ++d.notifyDepth;
    if (undoName != KeepName)
        d.pendingUndoName = undoName;
}

NotifyScope::~NotifyScope()
{
    d.pendingUndoName = savedName;
    if (--d.notifyDepth == 0)
        d.Flush();
}

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent), d(std::make_unique<Impl>(this))
{
    setAcceptRichText(true);
    setTabChangesFocus(false);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setLineWrapColumnOrWidth(FoldWidthPx);
    d->AttachDocument(d->NewDocument());
    d->HookTextControl();
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { d->CheckSelection(); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { d->CheckSelection(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { d->PrepareView(); });
    d->ApplyWrap();
    HideSelection(true);
}

RichEdit::~RichEdit()
{
    // The clipboard may still hold what this control cut or copied; the owner
    // decides whether it stays there.
    QClipboard* clipboard = QApplication::clipboard();
    if (d->ownClipboard && clipboard->mimeData() == d->ownClipboard.data()) {
        const int chars = d->ownClipboard->text().size();
        const bool keep = OnSaveClipboard ? OnSaveClipboard(0, chars) : true;
        if (!keep)
            clipboard->clear();
    }
    disconnect(this, nullptr, this, nullptr);
    if (d->doc) {
        d->doc->disconnect(this);
        d->doc->documentLayout()->disconnect(this);
    }
}

QTextDocument* RichEdit::Document() const
{
    return d->doc;
}

QTextDocument* RichEdit::Impl::NewDocument() const
{
    auto* fresh = new QTextDocument;
    fresh->setUndoRedoEnabled(false);
    fresh->setDefaultFont(q->font());
    QTextOption option = fresh->defaultTextOption();
    option.setWrapMode(wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    fresh->setDefaultTextOption(option);
    if (doc)
        fresh->setDocumentMargin(doc->documentMargin());
    // Nothing is laid out before the view gives the document its width: a long
    // paragraph is then laid out once, not once for each setting on the way.
    fresh->setPageSize(QSizeF(0, 0));
    return fresh;
}

void RichEdit::Impl::AttachDocument(QTextDocument* fresh, const std::vector<int>* styledAt)
{
    NotifyScope scope(*this);
    QTextDocument* old = doc;
    if (old) {
        old->disconnect(q);
        old->documentLayout()->disconnect(q);
    }
    fresh->setParent(q);
    doc = fresh;
    // The layout goes on first: putting one on drops what the blocks' layouts hold.
    if (FitsDocumentLayout(*fresh))
        InstallViewLayout(fresh);
    // Display formats and the wrap go on before the view lays the text out.
    RestyleAll(fresh, false, styledAt);
    longParagraph = false;
    layoutDeferred = false;
    NoteLongParagraphs(fresh, 0, fresh->characterCount());
    if (longParagraph && !q->isVisible())
        DeferLongParagraphs(fresh);
    if (q->lineWrapMode() != WantedWrap() || q->verticalScrollBarPolicy() != VerticalPolicy()) {
        // Changing the view's wrap or its width lays out the document it shows
        // again: let that be an empty one.
        if (!placeholder)
            placeholder = new QTextDocument(q);
        q->setDocument(placeholder);
        q->setLineWrapMode(WantedWrap());
        ApplyScrollBars();
    }
    if (fresh->defaultFont() != q->font())
        fresh->setDefaultFont(q->font());
    const QTextBlock first = fresh->firstBlock();
    const bool held = ViewLayout() && first.length() > LongParagraphChars && HoldUnanalysed(first);
    q->setDocument(fresh);
    if (held)
        ReleaseUnanalysed(first);
    fresh->setUndoRedoEnabled(undoLimit > 0);
    fresh->setModified(false);
    ClearUndoNames();
    {
        // Links marked while the text was built, with no layout to take the
        // change, leave its span pending in the document: the first typed
        // character would report everything from there on as changed. An empty
        // edit hands the span over now, before the control listens.
        QTextCursor settle(fresh);
        settle.beginEditBlock();
        settle.endEditBlock();
    }
    ConnectDocument();
    ApplyWrap();
    ApplyScrollBars();
    dirtyFrom = dirtyTo = -1;
    delete old;
}

void RichEdit::Impl::ConnectDocument()
{
    QObject::connect(doc, &QTextDocument::contentsChange, q,
                     [this](int position, int removed, int added) { OnContentsChange(position, removed, added); });
    QObject::connect(doc, &QTextDocument::undoCommandAdded, q, [this] { OnUndoCommandAdded(); });
    const auto connectLayout = [this] {
        InstallPictureHandler(*doc->documentLayout());
        QObject::connect(doc->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, q,
                         [this](const QSizeF& size) {
                             if ((eventMask & ENM_REQUESTRESIZE) && q->OnRequestResize)
                                 q->OnRequestResize(QRect(0, 0, q->viewport()->width(), qCeil(size.height())));
                         });
    };
    connectLayout();
    QObject::connect(doc, &QTextDocument::documentLayoutChanged, q, connectLayout);
}

DocumentLayout* RichEdit::Impl::ViewLayout() const
{
    return qobject_cast<DocumentLayout*>(doc->documentLayout());
}

void RichEdit::Impl::InstallViewLayout(QTextDocument* target)
{
    auto* layout = new DocumentLayout(target);
    layout->OnShift = [this](double) { KeepShiftedView(); };
    layout->Styled = [this](const QTextBlock& block) { return display.Styles(block); };
    layout->OnLinesCounted = [this] {
        if (q->OnLinesCounted)
            q->OnLinesCounted();
    };
    target->setDocumentLayout(layout);
}

void RichEdit::Impl::KeepShiftedView()
{
    // Heights above the viewport were corrected: the view follows the text it
    // shows. The scroll bar is moved quietly (the layout already knows where the
    // view is) and everything is drawn again.
    const DocumentLayout* layout = ViewLayout();
    if (!layout)
        return;
    QScrollBar* bar = q->verticalScrollBar();
    const int wanted = qRound(layout->ViewTop());
    if (bar->value() != wanted) {
        const QSignalBlocker quiet(bar);
        bar->setValue(wanted);
    }
    q->viewport()->update();
    // The scroll range may not have grown yet when the shift comes with a change
    // of the text: try again once the view has taken the new size.
    if (bar->value() != wanted) {
        QTimer::singleShot(0, q, [this] {
            const DocumentLayout* now = ViewLayout();
            QScrollBar* later = q->verticalScrollBar();
            if (now && later->value() != qRound(now->ViewTop())) {
                const QSignalBlocker quiet(later);
                later->setValue(qRound(now->ViewTop()));
                q->viewport()->update();
            }
        });
    }
}

void RichEdit::Impl::LeaveViewLayout()
{
    // A table came in: Qt's own layout places its cells.
    if (!ViewLayout() || FitsDocumentLayout(*doc))
        return;
    relayingOut = true;
    doc->setDocumentLayout(nullptr);
    doc->documentLayout();
    relayingOut = false;
    RestyleAll(doc, true);
    NoteLongParagraphs(doc, 0, doc->characterCount());
    q->viewport()->update();
}

void RichEdit::Impl::PrepareView()
{

    if (DocumentLayout* layout = ViewLayout())
        layout->SetViewport(q->verticalScrollBar()->value(), q->viewport()->height());
}

QString RichEdit::Impl::RawText(int from, int to) const
{
    from = Clamp(from);
    to = Clamp(to);
    if (to <= from)
        return {};
    // Read straight from the blocks: a cursor placed far into the text makes Qt lay
    // the document out up to there, which turned saving a large text into minutes.
    QString out;
    out.reserve(to - from);
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        const int start = block.position();
        const int end = start + block.length() - 1;
        const int a = std::max(from, start);
        const int b = std::min(to, end);
        if (b > a)
            out += BlockText(block, a, b);
        // The character ending the block: a paragraph end or a table mark.
        if (end >= from && end < to)
            out += doc->characterAt(end);
    }
    return out;
}

QString RichEdit::Impl::BlockText(const QTextBlock& block, int from, int to)
{
    // Qt copies a block's text whole: a few characters of a paragraph of
    // millions are read from the document's own pieces of text.
    if (to - from < block.length() / 8)
        return DocumentText(block.document(), from, to);
    return block.text().mid(from - block.position(), to - from);
}

QString RichEdit::Impl::PlainText(int from, int to) const
{
    QString text = RawText(from, to);
    ReplaceTableMarks(*doc, Clamp(from), text);
    return text;
}

QTextCursor RichEdit::Impl::Cursor(int anchor, int position) const
{
    QTextCursor cursor(doc);
    cursor.setPosition(Clamp(anchor));
    cursor.setPosition(Clamp(position), QTextCursor::KeepAnchor);
    return cursor;
}

int RichEdit::Impl::Clamp(int pos) const
{
    return std::max(0, std::min(pos, TextLength()));
}

void RichEdit::Impl::OnContentsChange(int position, int removed, int added)
{
    if ((removed == 0 && added == 0) || relayingOut)
        return;
    ++changes;
    if (wrappedLines.doc == doc) {
        // Lines before the edited paragraph keep their numbers.
        const std::size_t keep = std::size_t(doc->findBlock(position).blockNumber()) + 1;
        if (wrappedLines.firstLine.size() > keep)
            wrappedLines.firstLine.resize(keep);
    }
    if (ViewLayout() && !FitsDocumentLayout(*doc))
        QTimer::singleShot(0, q, [this] { LeaveViewLayout(); });
    const bool hadLong = longParagraph;
    NoteLongParagraphs(doc, position, position + added);
    foldPending = foldPending || (longParagraph && !hadLong);
    // Qt lays the changed blocks out after this signal: their display formats are
    // set now, so that they are laid out once.
    display.Restyle(*doc, position, position + added, LinkColor(), false);
    changePending = true;
    if (!markingLinks)
        MarkDirty(position, position + added);
    if (notifyDepth == 0) {
        // A change from a path the control does not wrap (Qt's own menu):
        // report it once the document is consistent again.
        QTimer::singleShot(0, q, [this] {
            if (notifyDepth == 0)
                Flush();
        });
    }
}

void RichEdit::Impl::CheckSelection()
{
    if (notifyDepth > 0)
        return;
    const CHARRANGE sel = q->ExGetSel();
    if (sel.cpMin == lastSel.cpMin && sel.cpMax == lastSel.cpMax)
        return;
    lastSel = sel;
    if ((eventMask & ENM_SELCHANGE) && q->OnSelChange)
        q->OnSelChange();
}

void RichEdit::Impl::Flush()
{
    if (foldPending) {
        foldPending = false;
        ApplyWrap();
        ApplyScrollBars();
    }
    ++notifyDepth;
    if (!deferLinks)
        RunPendingLinks();
    deferLinks = false;
    --notifyDepth;
    if (changePending) {
        changePending = false;
        if ((eventMask & ENM_CHANGE) && q->OnChange)
            q->OnChange();
    }
    CheckSelection();
}

std::uint32_t RichEdit::SetEventMask(std::uint32_t mask)
{
    const std::uint32_t previous = d->eventMask;
    d->eventMask = mask;
    d->lastSel = ExGetSel();
    return previous;
}

std::uint32_t RichEdit::GetEventMask() const
{
    return d->eventMask;
}

// Display

QTextEdit::LineWrapMode RichEdit::Impl::WantedWrap() const
{
    if (wordWrap)
        return QTextEdit::WidgetWidth;
    return longParagraph ? QTextEdit::FixedPixelWidth : QTextEdit::NoWrap;
}

void RichEdit::Impl::NoteLongParagraphs(const QTextDocument* target, int from, int to)
{
    // A running position: asking each block for its own costs a walk of the document's tree.
    QTextBlock block = target->findBlock(from);
    for (int position = block.position(); block.isValid() && position <= to; position += block.length(), block = block.next()) {
        if (block.length() > LongParagraphChars) {
            longParagraph = true;
            block.layout()->setCacheEnabled(true);
        }
    }
}

void RichEdit::Impl::DeferLongParagraphs(QTextDocument* target)
{
    // Qt lays a paragraph out whole as soon as a view holds its document, even a
    // view no one sees (the converter's): a long one waits until it is shown or
    // its lines are asked for. Blocks Qt takes as invisible are not laid out.
    for (QTextBlock block = target->begin(); block.isValid(); block = block.next()) {
        if (block.length() > LongParagraphChars) {
            block.setVisible(false);
            layoutDeferred = true;
        }
    }
}

void RichEdit::Impl::LayOutDeferred() const
{
    if (!layoutDeferred)
        return;
    layoutDeferred = false;
    relayingOut = true;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (!block.isVisible()) {
            block.setVisible(true);
            doc->markContentsDirty(block.position(), block.length());
        }
    }
    relayingOut = false;
}

void RichEdit::Impl::ApplyWrap()
{
    q->setLineWrapMode(WantedWrap());
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(WantedWrap() == QTextEdit::NoWrap ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    if (option.wrapMode() != doc->defaultTextOption().wrapMode())
        doc->setDefaultTextOption(option);
}

Qt::ScrollBarPolicy RichEdit::Impl::VerticalPolicy() const
{
    if (!verticalBar)
        return Qt::ScrollBarAlwaysOff;
    return TextLength() > LayoutProgressOverflowChars || longParagraph ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
}

void RichEdit::Impl::ApplyScrollBars()
{
    q->setHorizontalScrollBarPolicy(horizontalBar && !wordWrap ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (q->verticalScrollBarPolicy() != VerticalPolicy())
        q->setVerticalScrollBarPolicy(VerticalPolicy());
}

void RichEdit::SetBkgndColor(bool useSystemColor, COLORREF color)
{
    QPalette pal = palette();
    const QColor base = useSystemColor ? QApplication::palette().color(QPalette::Base)
                                       : QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    pal.setColor(QPalette::Base, base);
    setPalette(pal);
}

void RichEdit::SetRect(const QRect& rect)
{
    const QRect area = contentsRect().translated(-contentsRect().topLeft());
    const int left = std::max(0, rect.left() - area.left());
    const int top = std::max(0, rect.top() - area.top());
    const int right = std::max(0, area.right() - rect.right());
    const int bottom = std::max(0, area.bottom() - rect.bottom());
    setViewportMargins(left, top, right, bottom);
}

void RichEdit::ExLimitText(std::int32_t limit)
{
    // As the control does: 0 restores the default limit of 64 K characters.
    d->textLimit = limit <= 0 ? 65536 : limit;
}

void RichEdit::SetReadOnly(bool readOnly)
{
    QTextEdit::setReadOnly(readOnly);
    if (readOnly)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void RichEdit::SetRedraw(bool redraw)
{
    viewport()->setUpdatesEnabled(redraw);
    if (redraw)
        viewport()->update();
}

void RichEdit::VScrollLines(int lines)
{
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + lines * QFontMetrics(font()).lineSpacing());
}

void RichEdit::SetWordWrap(bool wrap)
{
    d->wordWrap = wrap;
    d->ApplyWrap();
    d->ApplyScrollBars();
}

bool RichEdit::WordWrap() const
{
    return d->wordWrap;
}

void RichEdit::SetScrollBars(bool horizontal, bool vertical)
{
    d->horizontalBar = horizontal;
    d->verticalBar = vertical;
    d->ApplyScrollBars();
}

bool RichEdit::Overwrite() const
{
    return overwriteMode();
}

void RichEdit::SetOverwrite(bool overwrite)
{
    setOverwriteMode(overwrite);
}

void RichEdit::HideSelection(bool hide)
{
    // Hiding means: not shown while the control does not have the focus.
    d->hideSelection = hide;
    QPalette pal = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        const QColor active = pal.color(QPalette::Active, role);
        const QColor shown = hide ? pal.color(QPalette::Active, role == QPalette::Highlight ? QPalette::Base : QPalette::Text)
                                  : active;
        pal.setColor(QPalette::Inactive, role, shown);
    }
    setPalette(pal);
}

void RichEdit::ScrollCaret()
{
    // Qt would ask a paragraph in pieces for the caret's line, analysing all of it.
    if (d->InPieces(textCursor().position()))
        ShowRequested({});
    else
        ensureCursorVisible();
}

} // namespace platform
