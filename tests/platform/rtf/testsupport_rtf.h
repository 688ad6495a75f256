// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the RTF reader and writer tests: an offscreen application,
// documents read from RTF, and views of their text and formats.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <QTextDocument>

#include <memory>
#include <ostream>

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

// Bytes of a file under tests/data/rtf.
QByteArray DataFile(const QString& name);

// Windows-1251 bytes of a string (for writing Russian RTF samples in tests).
QByteArray Cp1251(const QString& text);

} // namespace rtftest
