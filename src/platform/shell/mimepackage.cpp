// SPDX-License-Identifier: GPL-3.0-or-later
// MIME types for extensions: the desktop's own, or ours.
#include "mimepackage.h"

#include <QMimeDatabase>
#include <QXmlStreamWriter>

namespace platform {

bool IsMirrorableExtension(const QString& extension)
{
    if (extension.isEmpty())
        return false;
    for (const QChar c : extension) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSpace())
            return false;
        if (QStringLiteral("/\\*?[]").contains(c))
            return false;
    }
    return true;
}

QStringList KnownTypes(const QString& extension)
{
    QStringList types;
    const QList<QMimeType> found = QMimeDatabase().mimeTypesForFileName(QStringLiteral("file.") + extension);
    for (const QMimeType& type : found)
        if (!type.name().startsWith(QLatin1String(OwnTypePrefix)))
            types << type.name();
    return types;
}

QString DeclaredTypeName(const QString& extension)
{
    QString name = QString::fromLatin1(OwnTypePrefix);
    for (const QChar c : extension.toLower()) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'-' || u == u'.' || u == u'+')
            name += c;
        else
            name += QStringLiteral("_%1").arg(u, 4, 16, QLatin1Char('0'));
    }
    return name;
}

QByteArray MimePackage(const QStringList& extensions)
{
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeComment(QStringLiteral(" X-Quillet-Mirror: written by Quillet's settings for the extensions it opens;"
                                  " removed when they are unchecked there. "));
    w.writeStartElement(QStringLiteral("mime-info"));
    w.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    for (const QString& extension : extensions) {
        w.writeStartElement(QStringLiteral("mime-type"));
        w.writeAttribute(QStringLiteral("type"), DeclaredTypeName(extension));
        w.writeTextElement(QStringLiteral("comment"), extension.toUpper() + QStringLiteral(" file"));
        w.writeEmptyElement(QStringLiteral("sub-class-of"));
        w.writeAttribute(QStringLiteral("type"), QStringLiteral("text/plain"));
        w.writeEmptyElement(QStringLiteral("glob"));
        w.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + extension.toLower());
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

} // namespace platform
