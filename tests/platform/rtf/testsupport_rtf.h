// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the RTF reader and writer tests: an offscreen application,
// documents read from RTF, and views of their text and formats.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <QTextDocument>

#include <QList>
#include <QTextTable>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << QString(s).replace(u'\n', QStringLiteral("\\n")).toStdString() << '"';
}

namespace rtftest {

// Creates the offscreen QGuiApplication once (fonts and images need one).
void EnsureApplication();

// A fresh document holding the RTF, read as a whole-document load.
std::unique_ptr<QTextDocument> ReadDocument(const QByteArray& rtf);

// The document's text with paragraph ends as '\n' and table frame marks dropped.
QString Text(const QTextDocument& document);

// The format of the character at the n-th occurrence of needle's first character.
QTextCharFormat CharFormatOf(const QTextDocument& document, const QString& needle);
QTextBlockFormat BlockFormatOf(const QTextDocument& document, const QString& needle);

// The tables standing directly in a frame, and a table's column widths in twips.
std::vector<QTextTable*> TablesIn(const QTextFrame* frame);
QList<int> ColumnTwips(const QTextTable* table);

// The document's paragraphs and tables in order, '/' between them; a table shows
// as [cell|cell; next row], its cells the same way, so nesting stays visible.
QString Shape(const QTextDocument& document);

// Reads, writes and reads again three times: every reading shows the same view
// and every writing the very same bytes. Answers the first writing.
QByteArray ExpectSameEveryCycle(const QByteArray& rtf, const std::function<QString(const QTextDocument&)>& view);

// Bytes of a file under tests/data/rtf.
QByteArray DataFile(const QString& name);

// Windows-1251 bytes of a string (for writing Russian RTF samples in tests).
QByteArray Cp1251(const QString& text);

} // namespace rtftest
