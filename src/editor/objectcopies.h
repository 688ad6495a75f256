// SPDX-License-Identifier: GPL-3.0-or-later
// The objects open in other programs: embedded ones as temporary copies in a
// folder private to this editor, linked ones as their sources. Each remembers
// where its object stands in the document (the place moves with edits) and what
// its file looked like, so that changes saved there can flow back.
#pragma once

#include "embeddedobject.h"

#include <QString>
#include <QTextCursor>

#include <memory>
#include <vector>

class QTemporaryDir;

class TObjectCopies {
public:
    TObjectCopies();
    ~TObjectCopies();

    // Writes the object's bytes to a file of its name in the private folder;
    // raises EFCreateError when that fails.
    QString MakeCopy(const platform::EmbeddedObject& object);
    // Follows the file at path for the object at pos of document; a second Open
    // of the same object follows the newest file only.
    void Follow(QTextDocument* document, int pos, const QString& path, bool link);
    // Forgets a copy that was never opened, and removes its file.
    void Discard(const QString& path);

    struct Change {
        int pos;                // the object's position now
        QByteArray bytes;       // the file's bytes now
        bool link;
    };
    // The followed files that changed since they were last looked at, for objects
    // still in the document; copies of objects that are gone are forgotten.
    std::vector<Change> Changed(QTextDocument* document);
    std::size_t Count() const { return copies.size(); }

private:
    struct Copy {
        QTextCursor place;      // selects the object
        QString path;
        bool link = false;
        qint64 size = -1;
        qint64 modified = -1;   // nanoseconds
    };
    static void Stamp(Copy& copy);
    std::unique_ptr<QTemporaryDir> folder;
    std::vector<Copy> copies;
    int made = 0;
};
