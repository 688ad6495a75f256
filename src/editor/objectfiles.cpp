// SPDX-License-Identifier: GPL-3.0-or-later
// Embedding and linking files: read whole through their exact names, with the
// program's messages for a missing or unreadable file.
#include "objectfiles.h"

#include "editorerrors.h"
#include "filenames.h"
#include "qlconsts.h"
#include "sysbib.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int NewPictureWidth = 320;
constexpr int NewPictureHeight = 240;

[[noreturn]] void Fail(const char* message, const QString& path)
{
    throw EFOpenError((Tr(message) + platform::DisplayFileName(path)).toStdString());
}

} // namespace

bool IsPictureData(const QByteArray& data)
{
    if (data.isEmpty())
        return false;
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).canRead();
}

QByteArray ReadObjectFile(const QString& path)
{
    const QByteArray name = platform::FileNameBytes(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(errno == ENOENT || errno == ENOTDIR ? QlConsts::CannotFindFile : QlConsts::CannotReadFile, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        Fail(QlConsts::CannotReadFile, path);
    }
    QByteArray bytes;
    bytes.resize(qsizetype(st.st_size));
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(done + 65536);   // the file grew while being read
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            Fail(QlConsts::CannotReadFile, path);
        }
        if (n == 0)
            break;
        done += n;
    }
    ::close(fd);
    bytes.resize(done);
    return bytes;
}

platform::EmbeddedObject EmbedFile(const QString& path, bool asIcon)
{
    platform::EmbeddedObject object;
    object.data = ReadObjectFile(path);
    object.name = platform::DisplayFileName(ExtractFileName(path));
    object.mimeType = platform::ObjectMimeType(object);
    object.asIcon = asIcon || !IsPictureData(object.data);
    return object;
}

platform::EmbeddedObject LinkFile(const QString& path, bool asIcon)
{
    const QByteArray bytes = ReadObjectFile(path);
    platform::EmbeddedObject object;
    object.link = true;
    object.source = platform::FileNameBytes(path);
    object.name = platform::DisplayFileName(ExtractFileName(path));
    const bool picture = IsPictureData(bytes);
    if (picture)
        object.data = bytes;
    platform::EmbeddedObject typed = object;
    typed.data = bytes.left(4096);
    object.mimeType = platform::ObjectMimeType(typed);
    object.asIcon = asIcon || !picture;
    return object;
}

bool RefreshLink(platform::EmbeddedObject& object)
{
    if (!object.link)
        return false;
    try {
        const QByteArray bytes = ReadObjectFile(platform::FileNameFromBytes(object.source));
        if (!IsPictureData(bytes))
            return false;
        object.data = bytes;
        return true;
    } catch (const EFOpenError&) {
        return false;
    }
}

platform::EmbeddedObject NewObject(TNewObjectKind kind)
{
    platform::EmbeddedObject object;
    if (kind == TNewObjectKind::Picture) {
        QImage blank(NewPictureWidth, NewPictureHeight, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QBuffer buffer(&object.data);
        buffer.open(QIODevice::WriteOnly);
        blank.save(&buffer, "PNG");
        object.name = Tr(QlConsts::NewPictureName);
        object.mimeType = QStringLiteral("image/png");
    } else {
        object.name = Tr(QlConsts::NewTextName);
        object.mimeType = QStringLiteral("text/plain");
        object.asIcon = true;
    }
    return object;
}
