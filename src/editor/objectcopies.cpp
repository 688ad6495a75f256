// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary copies of embedded objects and how changes to them are noticed.
#include "objectcopies.h"

#include "editorerrors.h"
#include "filenames.h"
#include "objectfiles.h"
#include "qlconsts.h"
#include "sysbib.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextDocument>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool StatFile(const QString& path, qint64& size, qint64& modified)
{
    struct stat st {};
    if (::stat(platform::FileNameBytes(path).constData(), &st) != 0)
        return false;
    size = st.st_size;
    modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

// A name the copy can carry: the object's own without folder parts, else a
// neutral one with the extension its type usually has.
QString CopyName(const platform::EmbeddedObject& object)
{
    QString name = object.name;
    name.replace(u'/', u'_');
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("object");
    return name;
}

} // namespace

TObjectCopies::TObjectCopies() = default;
TObjectCopies::~TObjectCopies() = default;

QString TObjectCopies::MakeCopy(const platform::EmbeddedObject& object)
{
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>(QDir(TempDir()).filePath(QStringLiteral("quillet-objects-XXXXXX")));
        if (!folder->isValid())
            folder.reset();
    }
    const QString sub = folder ? folder->filePath(QString::number(++made)) : QString();
    if (sub.isEmpty() || !QDir().mkdir(sub))
        throw EFCreateError((Tr(QlConsts::CannotOpenForWriting) + u' ' + CopyName(object)).toStdString());
    const QString path = sub + u'/' + CopyName(object);
    const int fd = ::open(platform::FileNameBytes(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    qsizetype done = 0;
    while (ok && done < object.data.size()) {
        const ssize_t n = ::write(fd, object.data.constData() + done, size_t(object.data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += n > 0 ? n : 0;
    }
    if (fd >= 0 && ::close(fd) != 0)
        ok = false;
    if (!ok) {
        ::unlink(platform::FileNameBytes(path).constData());
        throw EFCreateError((Tr(QlConsts::CannotOpenForWriting) + u' ' + CopyName(object)).toStdString());
    }
    return path;
}

void TObjectCopies::Stamp(Copy& copy)
{
    if (!StatFile(copy.path, copy.size, copy.modified))
        copy.size = copy.modified = -1;
}

void TObjectCopies::Follow(QTextDocument* document, int pos, const QString& path, bool link)
{
    Copy copy;
    copy.place = QTextCursor(document);
    copy.place.setPosition(pos);
    copy.place.setPosition(pos + 1, QTextCursor::KeepAnchor);
    copy.path = path;
    copy.link = link;
    Stamp(copy);
    // The newest copy of an object is the one whose changes count.
    std::erase_if(copies, [&](const Copy& c) {
        return c.place.document() == document && c.place.selectionStart() == pos;
    });
    copies.push_back(std::move(copy));
}

void TObjectCopies::Discard(const QString& path)
{
    ::unlink(platform::FileNameBytes(path).constData());
    std::erase_if(copies, [&](const Copy& c) { return c.path == path; });
}

std::vector<TObjectCopies::Change> TObjectCopies::Changed(QTextDocument* document)
{
    std::vector<Change> changes;
    std::erase_if(copies, [&](const Copy& c) {
        return c.place.isNull() || c.place.document() != document
               || c.place.selectionEnd() - c.place.selectionStart() != 1
               || document->characterAt(c.place.selectionStart()) != QChar::ObjectReplacementCharacter;
    });
    for (Copy& copy : copies) {
        qint64 size = -1, modified = -1;
        if (!StatFile(copy.path, size, modified) || (size == copy.size && modified == copy.modified))
            continue;
        try {
            QByteArray bytes = ReadObjectFile(copy.path);
            copy.size = size;
            copy.modified = modified;
            changes.push_back({copy.place.selectionStart(), std::move(bytes), copy.link});
        } catch (const EEditorError&) {
            // Being written right now: the next look will see it whole.
        }
    }
    return changes;
}
