// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic links: detection as the text changes, and EN_LINK for the mouse.
#include "richeditimpl.h"

#include "textproperties.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace platform {

namespace {

QTextCharFormat LinkFormat(const QString& target)
{
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorHref(target);
    format.setProperty(PropLink, true);
    format.setProperty(PropAutoLinkMark, true);
    return format;
}

QTextCharFormat NoLinkFormat()
{
    QTextCharFormat format;
    format.setAnchor(false);
    format.setAnchorHref(QString());
    format.setProperty(PropLink, false);
    format.setProperty(PropAutoLinkMark, false);
    return format;
}

void MarkOne(QTextDocument* target, const UrlRange& link, QStringView text)
{
    QTextCursor cursor(target);
    cursor.setPosition(link.start);
    cursor.setPosition(link.start + link.length, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(LinkFormat(UrlTarget(text)));
}

} // namespace

void MarkLinks(QTextDocument* target, const std::vector<UrlRange>& links)
{
    for (const UrlRange& link : links) {
        QTextCursor cursor(target);
        cursor.setPosition(link.start);
        cursor.setPosition(link.start + link.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(LinkFormat(UrlTarget(cursor.selectedText())));
    }
}

void RichEdit::Impl::MarkDirty(int from, int to)
{
    if (!autoUrlDetect)
        return;
    if (dirtyFrom < 0) {
        dirtyFrom = from;
        dirtyTo = to;
    } else {
        dirtyFrom = std::min(dirtyFrom, from);
        dirtyTo = std::max(dirtyTo, to);
    }
}

namespace {

// An address is never longer than this; a paragraph longer than LinkScanChars is
// searched for addresses only this far around an edit.
constexpr int UrlReach = 4096;
constexpr int LinkScanChars = 65536;

// The part of a block around from..to that an address there may reach, ending at
// white space where there is some.
std::pair<int, int> LinkWindow(const QTextBlock& block, int from, int to)
{
    const int start = block.position();
    const int end = start + block.length() - 1;
    if (block.length() <= LinkScanChars)
        return {start, end};
    const QTextDocument* doc = block.document();
    int a = std::max(start, from - UrlReach);
    int b = std::min(end, to + UrlReach);
    for (int limit = std::max(start, a - UrlReach); a > limit && !doc->characterAt(a - 1).isSpace();)
        --a;
    for (int limit = std::min(end, b + UrlReach); b < limit && !doc->characterAt(b).isSpace();)
        ++b;
    return {a, b};
}

} // namespace

bool RichEdit::Impl::MayHoldLinks(const QTextBlock& block, int pos) const
{
    if (!autoUrlDetect)
        return false;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().boolProperty(PropAutoLinkMark))
            return true;
    const auto [from, to] = LinkWindow(block, pos, pos);
    const QString text = RawText(from, to);
    for (QStringView mark : {u"://", u"www.", u"mailto:", u"file:"})
        if (text.contains(mark, Qt::CaseInsensitive))
            return true;
    return false;
}

void RichEdit::Impl::RunPendingLinks(bool joinUndo)
{
    if (dirtyFrom < 0)
        return;
    const int from = Clamp(dirtyFrom);
    const int to = Clamp(dirtyTo);
    dirtyFrom = dirtyTo = -1;
    if (autoUrlDetect)
        DetectLinks(doc, from, to, joinUndo);
}

namespace {

// One run of detection over some blocks of a document.
class LinkPass {
public:
    LinkPass(QTextDocument* target, bool joinUndo)
        : target(target), joinUndo(joinUndo), modified(target->isModified()), edit(target)
    {
        // Marking links is no action of its own: it joins the edit that made the
        // address, and a document with nothing to undo gets no step for it.
        quiet = target->isUndoRedoEnabled() && target->availableUndoSteps() == 0 && target->availableRedoSteps() == 0;
        if (quiet)
            target->setUndoRedoEnabled(false);
    }
    ~LinkPass()
    {
        if (editing)
            edit.endEditBlock();
        if (quiet)
            target->setUndoRedoEnabled(true);
        target->setModified(modified);
    }
    LinkPass(const LinkPass&) = delete;
    LinkPass& operator=(const LinkPass&) = delete;

    // Brings the automatic links of the block's part around from..to in line
    // with the addresses it holds; true when they changed.
    bool Check(const QTextBlock& block, int from, int to)
    {
        const auto [windowFrom, windowTo] = LinkWindow(block, from, to);
        const QString text = RichEdit::Impl::BlockText(block, windowFrom, windowTo);
        std::vector<UrlRange> found;
        FindUrls(text, windowFrom, found);
        const auto inWindow = [&](const QTextFragment& fragment) {
            return fragment.position() < windowTo && fragment.position() + fragment.length() > windowFrom;
        };
        // A link that came as a field stays that field: detection leaves its text alone.
        std::vector<UrlRange> fields;
        // The automatic links the block has now.
        std::vector<UrlRange> current;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!inWindow(fragment))
                continue;
            const QTextCharFormat format = fragment.charFormat();
            if (!format.boolProperty(PropAutoLinkMark)) {
                if (format.boolProperty(PropLink))
                    fields.push_back({fragment.position(), fragment.length()});
            } else if (!current.empty() && current.back().start + current.back().length == fragment.position()) {
                current.back().length += fragment.length();
            } else {
                current.push_back({fragment.position(), fragment.length()});
            }
        }
        std::erase_if(found, [&](const UrlRange& url) {
            return std::any_of(fields.begin(), fields.end(), [&](const UrlRange& field) {
                return url.start < field.start + field.length && field.start < url.start + url.length;
            });
        });
        const bool same = std::equal(found.begin(), found.end(), current.begin(), current.end(),
                                     [](const UrlRange& a, const UrlRange& b) { return a.start == b.start && a.length == b.length; });
        if (same)
            return false;
        if (!editing) {
            if (joinUndo && target->isUndoRedoEnabled() && target->availableUndoSteps() > 0)
                edit.joinPreviousEditBlock();
            else
                edit.beginEditBlock();
            editing = true;
        }
        for (const UrlRange& link : current) {
            QTextCursor cursor(target);
            cursor.setPosition(link.start);
            cursor.setPosition(link.start + link.length, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(NoLinkFormat());
        }
        for (const UrlRange& link : found)
            MarkOne(target, link, QStringView(text).mid(link.start - windowFrom, link.length));
        return true;
    }

private:
    QTextDocument* target;
    bool joinUndo;
    bool modified;
    bool quiet = false;
    bool editing = false;
    QTextCursor edit;
};

} // namespace

void RichEdit::Impl::DetectLinks(QTextDocument* target, int from, int to, bool joinUndo)
{
    markingLinks = true;
    {
        LinkPass pass(target, joinUndo);
        const QTextBlock last = target->findBlock(to);
        for (QTextBlock block = target->findBlock(from); block.isValid(); block = block.next()) {
            pass.Check(block, from, to);
            if (block == last)
                break;
        }
    }
    markingLinks = false;
}

std::vector<int> RichEdit::Impl::DetectLinksAt(QTextDocument* target, std::vector<int> marks)
{
    std::vector<int> linked;
    std::sort(marks.begin(), marks.end());
    markingLinks = true;
    {
        LinkPass pass(target, false);
        int checkedTo = -1;
        for (const int mark : marks) {
            if (mark < checkedTo)
                continue;
            const QTextBlock block = target->findBlock(mark);
            if (!block.isValid())
                break;
            checkedTo = block.position() + block.length();
            if (pass.Check(block, block.position(), checkedTo - 1))
                linked.push_back(block.position());
        }
    }
    markingLinks = false;
    return linked;
}

void RichEdit::Impl::DetectLinksInFresh(QTextDocument* target)
{
    std::vector<int> marks;
    FindUrlMarks(target->toRawText(), 0, marks);
    DetectLinksAt(target, std::move(marks));
}

bool RichEdit::Impl::LinkAt(int pos, CHARRANGE& range) const
{
    const QTextBlock block = doc->findBlock(pos);
    std::vector<QTextFragment> fragments;
    int hit = -1;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (pos >= fragment.position() && pos < fragment.position() + fragment.length())
            hit = int(fragments.size());
        fragments.push_back(fragment);
    }
    auto isLink = [&](int i) { return fragments[std::size_t(i)].charFormat().boolProperty(PropLink); };
    if (hit < 0 || !isLink(hit))
        return false;
    int first = hit;
    while (first > 0 && isLink(first - 1))
        --first;
    int last = hit;
    while (last + 1 < int(fragments.size()) && isLink(last + 1))
        ++last;
    range.cpMin = fragments[std::size_t(first)].position();
    range.cpMax = fragments[std::size_t(last)].position() + fragments[std::size_t(last)].length();
    return true;
}

int RichEdit::Impl::CharAt(QPoint viewportPos) const
{
    const QPointF docPos(viewportPos.x() + q->horizontalScrollBar()->value(),
                         viewportPos.y() + q->verticalScrollBar()->value());
    return doc->documentLayout()->hitTest(docPos, Qt::ExactHit);
}

void RichEdit::Impl::MouseOnLink(QPoint viewportPos, LinkMessage message)
{
    CHARRANGE range;
    const int pos = CharAt(viewportPos);
    const bool onLink = pos >= 0 && LinkAt(pos, range);
    if (message == LinkMessage::MouseMove)
        q->viewport()->setCursor(onLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
    if (onLink && (eventMask & ENM_LINK) && q->OnLink)
        q->OnLink(ENLINK{message, range});
}

void RichEdit::AutoUrlDetect(bool on)
{
    if (d->autoUrlDetect == on)
        return;
    d->autoUrlDetect = on;
    if (on) {
        NotifyScope scope(*d);
        d->MarkDirty(0, d->TextLength());
    }
}

bool RichEdit::GetAutoUrlDetect() const
{
    return d->autoUrlDetect;
}

} // namespace platform
