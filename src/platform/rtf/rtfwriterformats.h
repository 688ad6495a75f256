// SPDX-License-Identifier: GPL-3.0-or-later
// What the RTF writer says about formats: the font and colour tables it builds
// while collecting a document's formats, and the control words of one character
// or paragraph format.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <QTextFormat>

#include <map>
#include <tuple>
#include <vector>

namespace platform {

class RtfWriterTables {
public:
    explicit RtfWriterTables(const QFont& defaultFont);

    // Registers the fonts and colours of a format; call for every run first.
    void Collect(const QTextCharFormat& format);
    // {\fonttbl...}{\colortbl...}
    QByteArray Header() const;
    // \plain and every property of the format, ending with a space.
    QByteArray CharacterWords(const QTextCharFormat& format) const;
    // Whether the format is written with \super or \sub. Such a run goes in a
    // group of its own: some readers take a \plain after \super as the end of
    // the paragraph's text.
    static bool Scripted(const QTextCharFormat& format);
    // Whether \'hh in this format's font is read as Windows-1251.
    bool Cp1251Font(const QTextCharFormat& format) const;

private:
    using FontKey = std::tuple<QString, int, int>;   // family, charset, pitch and family
    FontKey KeyOf(const QTextCharFormat& format) const;
    int ColorIndex(const QColor& color) const;

    QFont defaultFont_;
    std::map<FontKey, int> fonts_;
    std::vector<FontKey> fontOrder_;
    std::map<QRgb, int> colors_;
    std::vector<QColor> colorOrder_;
};

// The indents a paragraph is written with, in twips: RTF's \li (every line but
// the first) and \fi (the first line, relative to \li). A numbered paragraph of
// the control's is written as it is drawn: its lines where the text starts after
// the number, the first line's number where that line starts. False when the
// format holds no lengths of the control's own.
bool WrittenIndents(const QTextBlockFormat& format, int& left, int& first);

// \pard and every property of the paragraph format. tableLevel: 0 in the text,
// 1 in a table's cell, 2 and more in cells of nested tables.
QByteArray ParagraphWords(const QTextBlockFormat& format, int tableLevel);

// Text as RTF: Windows-1251 bytes as \'hh (when the font's code page is
// Windows-1251), the rest as \uN with a '?' fallback.
void AppendRtfText(QByteArray& out, const QString& text, bool cp1251Font = true);

} // namespace platform
