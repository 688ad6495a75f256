// SPDX-License-Identifier: GPL-3.0-or-later
// Reading LibreOffice's HTML export back into lists, tables and words.
#include "testsupport_libreoffice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <vector>

namespace rtftest {

namespace {

QString Roman(int value)
{
    static const struct {
        int value;
        const char* digits;
    } steps[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                 {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    QString out;
    for (const auto& step : steps)
        for (; value >= step.value; value -= step.value)
            out += QLatin1String(step.digits);
    return out;
}

QString Letters(int value)
{
    QString out;
    while (value > 0) {
        --value;
        out.prepend(QChar(u'A' + value % 26));
        value /= 26;
    }
    return out;
}

QString NumberIn(const QString& type, int value)
{
    if (type == QLatin1String("a"))
        return Letters(value).toLower();
    if (type == QLatin1String("A"))
        return Letters(value);
    if (type == QLatin1String("i"))
        return Roman(value).toLower();
    if (type == QLatin1String("I"))
        return Roman(value);
    return QString::number(value);
}

QString Attribute(const QString& attributes, const QString& name)
{
    const QRegularExpression re(QStringLiteral("\\b%1=\"?([^\" >]*)").arg(name), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(attributes);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString Decode(QString text)
{
    static const std::pair<const char*, char16_t> named[] = {
        {"amp", u'&'},     {"lt", u'<'},      {"gt", u'>'},      {"quot", u'"'},    {"nbsp", u' '},
        {"laquo", u'«'},   {"raquo", u'»'},   {"ndash", u'–'},   {"mdash", u'—'},   {"hellip", u'…'},
        {"bdquo", u'„'},   {"ldquo", u'“'},   {"rdquo", u'”'},   {"euro", u'€'},    {"shy", u'\u00AD'}};
    static const QRegularExpression entity(QStringLiteral("&(#x?[0-9a-fA-F]+|[a-zA-Z]+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        QString replacement = m.captured(0);
        if (name.startsWith(u'#')) {
            const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
            bool ok = false;
            const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (ok)
                replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else {
            for (const auto& [n, c] : named)
                if (name == QLatin1String(n))
                    replacement = QString(QChar(c));
        }
        out += replacement;
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

} // namespace

QString LibreOfficeLayout::Counts() const
{
    return QStringLiteral("lists %1, items %2, tables %3, rows %4, cells %5, header rows %6")
        .arg(lists)
        .arg(items.size())
        .arg(tables)
        .arg(rows)
        .arg(cells)
        .arg(headerRows);
}

LibreOfficeLayout ParseLibreOfficeHtml(const QString& html)
{
    LibreOfficeLayout out;
    QString body = html;
    body.remove(QRegularExpression(QStringLiteral("<head\\b.*</head>"), QRegularExpression::DotMatchesEverythingOption
                                                                            | QRegularExpression::CaseInsensitiveOption));
    body.remove(QRegularExpression(QStringLiteral("<![^>]*>")));
    struct List {
        bool ordered;
        QString type;
        int next;
    };
    std::vector<List> lists;
    int headerDepth = 0;
    QString text;
    int openItem = -1;   // index in items of the item whose text is being read
    const auto flushText = [&] {
        const QString decoded = Decode(text);
        if (openItem >= 0)
            out.items[openItem] += decoded;
        out.words += decoded + u' ';
        text.clear();
    };
    static const QRegularExpression tag(QStringLiteral("<(/?)([a-zA-Z0-9]+)([^>]*)>"));
    qsizetype last = 0;
    for (auto it = tag.globalMatch(body); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text += QStringView(body).mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2).toLower();
        const QString attributes = m.captured(3);
        static const QStringList structural = {QStringLiteral("ol"), QStringLiteral("ul"), QStringLiteral("li"),
                                               QStringLiteral("table"), QStringLiteral("thead"), QStringLiteral("tr"),
                                               QStringLiteral("td"), QStringLiteral("th")};
        if (name == QLatin1String("br")) {
            text += u' ';
            continue;
        }
        if (!structural.contains(name))
            continue;
        flushText();
        if (name == QLatin1String("li")) {
            if (closing)
                continue;
            QString number = QStringLiteral("•");
            if (!lists.empty() && lists.back().ordered) {
                List& l = lists.back();
                const QString value = Attribute(attributes, QStringLiteral("value"));
                if (!value.isEmpty())
                    l.next = value.toInt();
                number = NumberIn(l.type, l.next++);
            }
            out.structure << QStringLiteral("li ") + number;
            out.items << number + u' ';
            openItem = int(out.items.size()) - 1;
            continue;
        }
        openItem = -1;
        if (name == QLatin1String("ol") || name == QLatin1String("ul")) {
            if (closing) {
                if (!lists.empty())
                    lists.pop_back();
                out.structure << u'/' + name;
                continue;
            }
            const bool ordered = name == QLatin1String("ol");
            QString type = Attribute(attributes, QStringLiteral("type"));
            if (type.isEmpty())
                type = QStringLiteral("1");
            const QString start = Attribute(attributes, QStringLiteral("start"));
            lists.push_back({ordered, type, start.isEmpty() ? 1 : start.toInt()});
            ++out.lists;
            out.structure << (ordered ? QStringLiteral("ol ") + type : QStringLiteral("ul"));
            continue;
        }
        if (name == QLatin1String("thead")) {
            headerDepth += closing ? -1 : 1;
            continue;
        }
        if (closing) {
            if (name == QLatin1String("table"))
                out.structure << QStringLiteral("/table");
            continue;
        }
        if (name == QLatin1String("table")) {
            ++out.tables;
            out.structure << QStringLiteral("table");
        } else if (name == QLatin1String("tr")) {
            ++out.rows;
            if (headerDepth > 0)
                ++out.headerRows;
            out.structure << (headerDepth > 0 ? QStringLiteral("header row") : QStringLiteral("row"));
        } else {
            ++out.cells;
            out.structure << QStringLiteral("cell");
        }
    }
    text += QStringView(body).mid(last);
    flushText();
    for (QString& item : out.items)
        item = item.simplified();
    out.words = out.words.simplified();
    return out;
}

bool ConvertToHtml(const QString& soffice, const QString& dir, const QStringList& inputs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(soffice, QStringList{QStringLiteral("--headless"),
                                 QStringLiteral("-env:UserInstallation=")
                                     + QUrl::fromLocalFile(QDir(dir).filePath(QStringLiteral("profile"))).toString(),
                                 QStringLiteral("--convert-to"), QStringLiteral("html:HTML (StarWriter)"),
                                 QStringLiteral("--outdir"), QDir(dir).filePath(QStringLiteral("html"))}
                         + inputs);
    return p.waitForFinished(240000);
}

QString HtmlOf(const QString& dir, const QString& inputPath)
{
    QFile f(QDir(dir).filePath(QStringLiteral("html/") + QFileInfo(inputPath).completeBaseName()
                               + QStringLiteral(".html")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace rtftest
