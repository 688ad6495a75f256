// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers for the RTF tests.
#include "testsupport_rtf.h"

#include "codepages.h"
#include "rtfreader.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>

namespace rtftest {

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_test";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

std::unique_ptr<QTextDocument> ReadDocument(const QByteArray& rtf)
{
    EnsureApplication();
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document.get());
    platform::ReadRtf(rtf, cursor);
    return document;
}

QString Text(const QTextDocument& document)
{
    QString out;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        if (b != document.begin())
            out += u'\n';
        out += b.text();
    }
    return out;
}

static int Find(const QTextDocument& document, const QString& needle)
{
    const QString all = document.toRawText();
    return int(all.indexOf(needle));
}

QTextCharFormat CharFormatOf(const QTextDocument& document, const QString& needle)
{
    const int pos = Find(document, needle);
    if (pos < 0)
        return {};
    QTextCursor c(const_cast<QTextDocument*>(&document));
    c.setPosition(pos + 1);
    return c.charFormat();
}

QTextBlockFormat BlockFormatOf(const QTextDocument& document, const QString& needle)
{
    const int pos = Find(document, needle);
    if (pos < 0)
        return {};
    return document.findBlock(pos).blockFormat();
}

QByteArray DataFile(const QString& name)
{
    QFile f(QStringLiteral(QUILLET_TEST_DATA "/rtf/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray Cp1251(const QString& text)
{
    QByteArray out;
    for (QChar c : text)
        out += char(platform::EncodeCp1251(c.unicode()));
    return out;
}

} // namespace rtftest
