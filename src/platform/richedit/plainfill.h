// SPDX-License-Identifier: GPL-3.0-or-later
// Fills an empty document with plain text, piece by piece, as fast as the
// document can hold it.
#pragma once
#include <QString>
#include <QTextCursor>

#include <memory>

class QTextDocument;

namespace platform {

// A cursor typing a long text into a document pays for every paragraph: the
// document finds, splits and balances its trees of runs and paragraphs once per
// line, which for 750,000 lines is most of the time an open takes. With Qt's
// private headers the pieces here go into the document's buffer as they come,
// and the two trees are built balanced in one pass at the end. Without them, or
// when the document is not empty and free of undo, a cursor types the pieces.
// Either way the document ends as a cursor's insertText of each piece would
// leave it: the same text, paragraphs, formats and revisions.
//
// The fill is one edit of the document: nothing is told of the change before
// Finish. A document whose fill was not finished is only fit to be deleted.
class PlainFill {
public:
    explicit PlainFill(QTextDocument& doc);
    ~PlainFill();
    PlainFill(const PlainFill&) = delete;
    PlainFill& operator=(const PlainFill&) = delete;

    // Adds text at the end. Its paragraph ends may be '\n', '\r', "\r\n" or
    // U+2029, as for a cursor; the piece may be changed in place.
    void Add(QString& piece);
    // Where the next piece will begin in the document.
    int Position() const { return position; }
    // Ends the edit; further pieces are not taken.
    void Finish();
    // Whether the trees are built at the end rather than by a cursor (a test's
    // question).
    bool BuildsTrees() const { return trees != nullptr; }

private:
    struct Trees;
    QTextDocument& doc;
    std::unique_ptr<Trees> trees;
    QTextCursor cursor;
    int position = 0;
    bool finished = false;
};

} // namespace platform
