// SPDX-License-Identifier: GPL-3.0-or-later
// File and path helpers, the box placement rule and the short question forms.
#include "sysbib.h"

#include "filenames.h"
#include "qlconsts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>


bool FileExists(const QString& name)
{
    return platform::IsExistingFile(name);
}

bool PathExists(const QString& name)
{
    struct stat st {};
    return !name.isEmpty() && ::stat(platform::FileNameBytes(name).constData(), &st) == 0;
}

std::optional<unsigned> RegularFileMode(const QString& name)
{
    struct stat st {};
    if (name.isEmpty() || ::stat(platform::FileNameBytes(name).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return unsigned(st.st_mode & 07777);
}

bool SetFileMode(const QString& name, unsigned mode)
{
    return ::chmod(platform::FileNameBytes(name).constData(), mode_t(mode)) == 0;
}

QString ExtractFileDir(const QString& name)
{
    const qsizetype slash = name.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    return slash == 0 ? QStringLiteral("/") : name.left(slash);
}

QString ExtractFileName(const QString& name)
{
    return name.mid(name.lastIndexOf(u'/') + 1);
}

QString ExtractFileExt(const QString& name)
{
    const QString file = ExtractFileName(name);
    const qsizetype dot = file.lastIndexOf(u'.');
    return dot > 0 ? file.mid(dot) : QString();
}

QString ChangeFileExt(const QString& name, const QString& ext)
{
    const QString current = ExtractFileExt(name);
    return name.left(name.size() - current.size()) + ext;
}

QString ExpandFileName(const QString& name)
{
    if (name.isEmpty())
        return {};
    if (name.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(name);
    return QDir::cleanPath(platform::CurrentFolder() + QLatin1Char('/') + name);
}

QString ExeFileName()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ExeDir()
{
    return ExtractFileDir(ExeFileName());
}

QString TempDir()
{
    return QDir::tempPath();
}

namespace {

// Half of d rounded to the nearest integer, ties to even.
int HalfToEven(int d)
{
    const int floorHalf = d >= 0 ? d / 2 : -((-d + 1) / 2);
    if (d % 2 == 0)
        return floorHalf;
    return floorHalf % 2 == 0 ? floorHalf : floorHalf + 1;
}

int Place(int ownerStart, int ownerExtent, int boxExtent, int screenStart, int screenExtent)
{
    int pos = ownerStart + HalfToEven(ownerExtent - boxExtent);
    pos = std::min(pos, screenStart + screenExtent - boxExtent - 1);
    return std::max(pos, screenStart);
}

MsgButton Box(MsgKind kind, const char* caption, const QString& text, MsgButtons buttons)
{
    return CurrentPrompter().Message(kind, Tr(caption), text, buttons);
}

} // namespace

QPoint CenteredBoxPos(const QRect& owner, const QSize& box, const QRect& screen)
{
    return {Place(owner.left(), owner.width(), box.width(), screen.left(), screen.width()),
            Place(owner.top(), owner.height(), box.height(), screen.top(), screen.height())};
}

MsgButton ErrorBox(const QString& text, MsgButtons buttons)
{
    return Box(MsgKind::Error, QlConsts::ErrorCaption, text, buttons);
}

MsgButton InformationBox(const QString& text, MsgButtons buttons)
{
    return Box(MsgKind::Information, QlConsts::InformationCaption, text, buttons);
}

MsgButton ConfirmationBox(const QString& text, MsgButtons buttons)
{
    return Box(MsgKind::Confirmation, QlConsts::ConfirmationCaption, text, buttons);
}
