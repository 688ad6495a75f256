// SPDX-License-Identifier: GPL-3.0-or-later
// The byte-exact file-name codec and the look-ups that must use it.
#include "filenames.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr char16_t EscapeBase = 0xDC00;
constexpr char16_t Replacement = 0xFFFD;

bool IsContinuation(std::uint8_t b)
{
    return (b & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at p (Unicode's table of
// well-formed byte sequences: no overlong forms, no surrogates, nothing above
// U+10FFFF), or 0 when the bytes there are not one.
qsizetype SequenceLength(const std::uint8_t* p, qsizetype left)
{
    const std::uint8_t b = p[0];
    if (b < 0x80)
        return 1;
    qsizetype n = 0;
    std::uint8_t low = 0x80, high = 0xBF;   // the allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            low = 0xA0;
        else if (b == 0xED)
            high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            low = 0x90;
        else if (b == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < n || p[1] < low || p[1] > high)
        return 0;
    for (qsizetype i = 2; i < n; ++i)
        if (!IsContinuation(p[i]))
            return 0;
    return n;
}

void AppendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool IsCarriedByte(QChar c)
{
    return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF;
}

// The entries of a folder, as bytes.
std::vector<QByteArray> Entries(const QByteArray& folder)
{
    std::vector<QByteArray> names;
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

} // namespace

QString FileNameFromBytes(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const qsizetype n = SequenceLength(p + i, size - i);
        if (n == 0) {
            name += QChar(char16_t(EscapeBase + p[i]));
            ++i;
            continue;
        }
        if (n == 1) {
            name += QChar(char16_t(p[i]));
        } else {
            char32_t c = p[i] & (0xFF >> (n + 1));
            for (qsizetype k = 1; k < n; ++k)
                c = (c << 6) | (p[i + k] & 0x3F);
            name += QString::fromUcs4(&c, 1);
        }
        i += n;
    }
    return name;
}

QByteArray FileNameBytes(QStringView name)
{
    QByteArray out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, name[i + 1]));
            ++i;
        } else if (IsCarriedByte(c)) {
            out += char(c.unicode() - EscapeBase);
        } else {
            // A lone surrogate that did not come from a name goes out in the
            // generalised UTF-8 form; no decoded name holds one.
            AppendUtf8(out, c.unicode());
        }
    }
    return out;
}

QString DisplayFileName(QStringView name)
{
    QString shown = name.toString();
    for (QChar& c : shown)
        if (IsCarriedByte(c))
            c = QChar(Replacement);
    return EscapedControls(shown);
}

QString EscapedControls(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const QChar::Category category = c.category();
        if (category != QChar::Other_Control && category != QChar::Separator_Line
            && category != QChar::Separator_Paragraph) {
            shown += c;
        } else if (u == u'\n') {
            shown += QLatin1String("\\n");
        } else if (u == u'\r') {
            shown += QLatin1String("\\r");
        } else if (u == u'\t') {
            shown += QLatin1String("\\t");
        } else {
            const QString hex = QString::number(unsigned(u), 16).toUpper();
            shown += u < 0x100 ? QStringLiteral("\\x") + hex.rightJustified(2, u'0')
                               : QStringLiteral("\\u") + hex.rightJustified(4, u'0');
        }
    }
    return shown;
}

QString CurrentFolder()
{
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()))
            return FileNameFromBytes(QByteArrayView(buffer.data()));
        if (errno != ERANGE)
            return QStringLiteral("/");
        buffer.resize(buffer.size() * 2);
    }
}

bool IsExistingFile(QStringView name)
{
    if (name.isEmpty())
        return false;
    struct stat st {};
    return ::stat(FileNameBytes(name).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<QString> ExactDialogFileName(const QString& name)
{
    if (!name.contains(QChar(Replacement)))
        return name;
    const QStringList parts = name.split(QLatin1Char('/'));
    QString resolved;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (i > 0)
            resolved += QLatin1Char('/');
        if (!part.contains(QChar(Replacement))) {
            resolved += part;
            continue;
        }
        // The dialog decoded the folder's entries the toolkit's way; the one that
        // reads the same is the file it showed.
        std::optional<QString> found;
        for (const QByteArray& entry : Entries(FileNameBytes(resolved))) {
            if (QFile::decodeName(entry) != part)
                continue;
            if (found)
                return std::nullopt;
            found = FileNameFromBytes(entry);
        }
        if (!found)
            return std::nullopt;
        resolved += *found;
    }
    return resolved;
}

} // namespace platform
