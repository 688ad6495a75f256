// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a text saved as plain text in an encoding reads back as the very same
// characters, so that the saved file can stand for the text.
#pragma once

#include "enctypes.h"

#include <QString>
#include <QTextFormat>

#include <optional>

class QTextDocument;

// The formats of a text read from plain bytes, which every paragraph and run of
// a text without formats of its own shares.
struct TPlainFormats {
    QTextBlockFormat block;
    QTextCharFormat blockChar;
    QTextCharFormat run;
};
// Those of doc, when it has a run to take them from.
std::optional<TPlainFormats> PlainFormatsOf(const QTextDocument& doc);
// True when doc holds no table and every paragraph and run has exactly these formats.
bool HasOnlyFormats(const QTextDocument& doc, const TPlainFormats& formats);

// True when every character of doc survives being written in the encoding (DOS
// mode and byte order included) and read again: no '?' for a character the
// code page lacks, no line break turned into a paragraph end. Formats are not
// looked at; the caller knows whether the text has any.
bool PlainTextReadsBack(const QTextDocument& doc, TEnc encoding, TDosAdd dosAdd, TUniType uniType);
// The same for the document's raw text (paragraph ends as U+2029), on any thread.
bool PlainTextReadsBack(const QString& raw, TEnc encoding, TDosAdd dosAdd, TUniType uniType);
