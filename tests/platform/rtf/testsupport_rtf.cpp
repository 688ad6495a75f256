// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers for the RTF tests.
#include "testsupport_rtf.h"

#include "codepages.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <gtest/gtest.h>

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

std::vector<QTextTable*> TablesIn(const QTextFrame* frame)
{
    std::vector<QTextTable*> tables;
    for (QTextFrame* child : frame->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(child))
            tables.push_back(t);
    return tables;
}

QList<int> ColumnTwips(const QTextTable* table)
{
    QList<int> out;
    for (const QTextLength& l : table->format().columnWidthConstraints())
        out.append(qRound(l.rawValue() * 15));
    return out;
}

static QString ShapeOf(QTextFrame::iterator it);

static QString ShapeOf(const QTextTable* table)
{
    QStringList rows;
    for (int r = 0; r < table->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columns(); ++c)
            cells << ShapeOf(table->cellAt(r, c).begin());
        rows << cells.join(u'|');
    }
    return u'[' + rows.join(QStringLiteral("; ")) + u']';
}

static QString ShapeOf(QTextFrame::iterator it)
{
    QStringList parts;
    for (; !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame()))
            parts << ShapeOf(table);
        else if (!it.currentFrame())
            parts << it.currentBlock().text();
    }
    return parts.join(u'/');
}

QString Shape(const QTextDocument& document)
{
    return ShapeOf(document.rootFrame()->begin());
}

QByteArray ExpectSameEveryCycle(const QByteArray& rtf, const std::function<QString(const QTextDocument&)>& view)
{
    auto document = ReadDocument(rtf);
    const QString seen = view(*document);
    const QByteArray first = platform::WriteRtf(*document);
    QByteArray written = first;
    for (int cycle = 2; cycle <= 3; ++cycle) {
        auto again = ReadDocument(written);
        EXPECT_EQ(view(*again), seen) << "cycle " << cycle << "\n" << written.constData();
        const QByteArray rewritten = platform::WriteRtf(*again);
        EXPECT_EQ(rewritten.toStdString(), written.toStdString()) << "cycle " << cycle;
        written = rewritten;
    }
    return first;
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
