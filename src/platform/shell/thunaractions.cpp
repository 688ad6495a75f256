// SPDX-License-Identifier: GPL-3.0-or-later
// Adding and removing our actions in uca.xml by text, keeping the rest as it is.
#include "thunaractions.h"

#include "xdgfolders.h"

#include <QFile>
#include <QRegularExpression>

namespace platform {

namespace {

const QByteArray EmptyList = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";

} // namespace

QString ThunarActionsFile()
{
    return XdgConfigHome() + QStringLiteral("/Thunar/uca.xml");
}

QByteArray ThunarSeed()
{
    for (const QString& dir : XdgConfigDirs()) {
        QFile file(dir + QStringLiteral("/Thunar/uca.xml"));
        if (file.open(QIODevice::ReadOnly))
            return file.readAll();
    }
    return EmptyList;
}

QByteArray WithoutThunarAction(const QByteArray& text, const QString& uniqueId)
{
    // One action element, however Thunar laid it out when it last saved the file,
    // with the blanks that follow it.
    const QRegularExpression action(
        QStringLiteral("<action>(?:(?!</action>).)*?<unique-id>\\s*%1\\s*</unique-id>.*?</action>[ \\t]*\\n?")
            .arg(QRegularExpression::escape(uniqueId)),
        QRegularExpression::DotMatchesEverythingOption);
    QString result = QString::fromUtf8(text);
    result.remove(action);
    return result.toUtf8();
}

QByteArray WithThunarAction(const QByteArray& text, const QByteArray& action)
{
    QByteArray result = text.isEmpty() ? EmptyList : text;
    result.replace("<actions/>", "<actions>\n</actions>");
    const qsizetype end = result.lastIndexOf("</actions>");
    if (end < 0)
        return result;
    // At the start of the closing tag's line, so the file stays one element a line.
    const qsizetype lineStart = result.lastIndexOf('\n', end) + 1;
    const bool ownLine = result.mid(lineStart, end - lineStart).trimmed().isEmpty();
    if (ownLine)
        result.insert(lineStart, action);
    else
        result.insert(end, "\n" + action);
    return result;
}

} // namespace platform
