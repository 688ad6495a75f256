// SPDX-License-Identifier: GPL-3.0-or-later
// Locating the GUI library in the running process (dladdr) and describing it.
#include "libraryinfo.h"

#include "qlconsts.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>

#include <dlfcn.h>

namespace {

// The loaded library's soname when nothing could be found.
constexpr const char* DefaultLibraryName = "libQt6Gui.so.6";

} // namespace

LibraryInfo RichTextLibrary()
{
    LibraryInfo library;
    Dl_info info {};
    // Any function of the GUI library leads to the file it was loaded from.
    const auto probe = &QGuiApplication::platformName;
    if (::dladdr(reinterpret_cast<const void*>(probe), &info) == 0 || info.dli_fname == nullptr)
        return library;
    library.Path = QFile::decodeName(info.dli_fname);
    const QFileInfo file(library.Path);
    if (!file.exists())
        return library;
    library.Loaded = true;
    library.ProductName = QStringLiteral("Qt GUI");
    library.FileVersion = QString::fromLatin1(qVersion());
    library.Size = file.size();
    library.Modified = file.lastModified();
    return library;
}

QString RichTextLibraryName()
{
    const LibraryInfo library = RichTextLibrary();
    return library.Loaded ? QFileInfo(library.Path).fileName() : QString::fromLatin1(DefaultLibraryName);
}

QString LibraryLine(const LibraryInfo& library)
{
    if (!library.Loaded)
        return Tr(QlConsts::RichEditNotLoaded).arg(QString::fromLatin1(DefaultLibraryName));
    const QLocale locale;
    QString line = library.Path + Tr(QlConsts::AboutSize) + QString::number(library.Size) + Tr(QlConsts::AboutBytesDate)
                   + locale.toString(library.Modified.date(), QLocale::ShortFormat) + Tr(QlConsts::AboutTime)
                   + locale.toString(library.Modified.time(), QLocale::LongFormat);
    if (!library.FileVersion.isEmpty())
        line = QStringLiteral(" (") + library.FileVersion + QStringLiteral("), ") + line;
    if (!library.ProductName.isEmpty())
        line = library.ProductName + QStringLiteral(" ") + line;
    return line;
}
