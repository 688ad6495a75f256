// SPDX-License-Identifier: GPL-3.0-or-later
// Line-based editing of mimeapps.list.
#include "mimeapps.h"

#include <QList>

namespace platform {

namespace {

using Lines = QList<QByteArray>;

Lines Split(const QByteArray& text)
{
    Lines lines = text.split('\n');
    // A final newline leaves one empty piece that is not a line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray Join(const Lines& lines)
{
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + '\n';
    return text;
}

bool IsHeader(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith('[') && t.endsWith(']');
}

QString HeaderName(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    return QString::fromUtf8(t.mid(1, t.size() - 2));
}

// The key of an entry line, or an empty string for any other line.
QString KeyOf(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith('#') || IsHeader(t))
        return {};
    const qsizetype eq = t.indexOf('=');
    return eq < 0 ? QString() : QString::fromUtf8(t.left(eq).trimmed());
}

QByteArray ValueOf(const QByteArray& line)
{
    return line.mid(line.indexOf('=') + 1).trimmed();
}

struct Found {
    qsizetype header = -1;    // the group's header line
    qsizetype entry = -1;     // the type's line within it
    qsizetype lastInGroup = -1; // the last non-blank line of the group
};

Found Find(const Lines& lines, const QString& group, const QString& type)
{
    Found f;
    bool inGroup = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (IsHeader(line)) {
            // Only the first group of the name is used, as readers do.
            if (f.header >= 0 && inGroup)
                break;
            inGroup = HeaderName(line) == group;
            if (inGroup) {
                f.header = i;
                f.lastInGroup = i;
            }
            continue;
        }
        if (!inGroup)
            continue;
        if (!line.trimmed().isEmpty())
            f.lastInGroup = i;
        if (f.entry < 0 && KeyOf(line) == type)
            f.entry = i;
    }
    return f;
}

// A group left with no line but blanks goes, with the blank line that set it
// apart from the one before, so that adding and then removing an entry gives
// back the text as it was.
void RemoveIfEmpty(Lines& lines, qsizetype header)
{
    qsizetype end = header + 1;
    while (end < lines.size() && !IsHeader(lines[end])) {
        if (!lines[end].trimmed().isEmpty())
            return;
        ++end;
    }
    lines.remove(header, end - header);
    if (header > 0 && lines[header - 1].trimmed().isEmpty() && (header == lines.size() || IsHeader(lines[header])))
        lines.removeAt(header - 1);
}

} // namespace

QStringList MimeAppsEntry(const QByteArray& text, const QString& group, const QString& type)
{
    const Lines lines = Split(text);
    const Found f = Find(lines, group, type);
    if (f.entry < 0)
        return {};
    return QString::fromUtf8(ValueOf(lines[f.entry])).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QByteArray SetMimeAppsEntry(const QByteArray& text, const QString& group, const QString& type,
                            const QStringList& ids)
{
    Lines lines = Split(text);
    const Found f = Find(lines, group, type);
    const QByteArray line = (type + QLatin1Char('=') + ids.join(QLatin1Char(';')) + QLatin1Char(';')).toUtf8();
    if (f.entry >= 0) {
        if (ids.isEmpty()) {
            lines.removeAt(f.entry);
            RemoveIfEmpty(lines, f.header);
        } else {
            lines[f.entry] = line;
        }
    } else if (!ids.isEmpty()) {
        if (f.header >= 0) {
            lines.insert(f.lastInGroup + 1, line);
        } else {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines << QByteArray();
            lines << ('[' + group.toUtf8() + ']') << line;
        }
    }
    return Join(lines);
}

bool IsEmptyMimeApps(const QByteArray& text)
{
    for (const QByteArray& line : Split(text)) {
        const QByteArray t = line.trimmed();
        if (!t.isEmpty() && !IsHeader(t))
            return false;
    }
    return true;
}

} // namespace platform
