// SPDX-License-Identifier: GPL-3.0-or-later
// Quoting for Exec keys, key-file values and shell scripts.
#include "execquote.h"

#include <algorithm>

namespace platform {

namespace {

// The characters the desktop entry format reserves inside an Exec argument.
bool IsReserved(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

QString DoubleQuoted(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

} // namespace

bool IsQuotablePath(const QString& path)
{
    if (!path.startsWith(u'/'))
        return false;
    // The files it goes into are UTF-8: a name whose bytes are not, carried as
    // lone surrogates or already lost to U+FFFD, would name another program.
    if (path.contains(QChar::ReplacementCharacter) || QString::fromUtf8(path.toUtf8()) != path)
        return false;
    for (const QChar c : path)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

QString ExecArgument(const QString& argument, bool alwaysQuote)
{
    const bool quote = alwaysQuote || argument.isEmpty() || std::any_of(argument.begin(), argument.end(), IsReserved);
    QString text = quote ? DoubleQuoted(argument) : argument;
    text.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return text;
}

QString ShellArgument(const QString& argument)
{
    return DoubleQuoted(argument);
}

QString KeyFileValue(const QString& value)
{
    QString escaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else if (c == u'\t')
            escaped += QStringLiteral("\\t");
        else if (c == u'\r')
            escaped += QStringLiteral("\\r");
        else if (c == u' ' && i == 0)
            escaped += QStringLiteral("\\s");
        else
            escaped += c;
    }
    return escaped;
}

QString ExecProgram(const QString& keyValue)
{
    QString exec;
    for (qsizetype i = 0; i < keyValue.size(); ++i) {
        const QChar c = keyValue[i];
        if (c != u'\\' || i + 1 == keyValue.size()) {
            exec += c;
            continue;
        }
        const QChar next = keyValue[++i];
        exec += next == u's' ? QChar(u' ') : next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t')
              : next == u'r' ? QChar(u'\r') : next;
    }
    exec = exec.trimmed();
    QString program;
    if (exec.startsWith(u'"')) {
        for (qsizetype i = 1; i < exec.size() && exec[i] != u'"'; ++i) {
            if (exec[i] == u'\\' && i + 1 < exec.size())
                ++i;
            program += exec[i];
        }
    } else {
        program = exec.section(u' ', 0, 0);
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

} // namespace platform
