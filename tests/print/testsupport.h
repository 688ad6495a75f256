// SPDX-License-Identifier: GPL-3.0-or-later
// The harness of the printing tests: one application on the offscreen platform,
// a private folder, registry and scripted prompter per test, an editor holding
// Russian text, the PDF printer reset to A4 portrait, and the printed PDF read
// back with pdftotext and pdfinfo.
#pragma once

#include "qxeditor.h"
#include "scriptedprompter.h"

#include <gtest/gtest.h>

#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A word of a PDF page with its box in points from the page's top-left corner.
struct PdfWord {
    int page = 0;      // from 1
    QString text;
    QRectF box;
};

struct PdfPage {
    double width = 0;  // points
    double height = 0;
};

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& name) const { return dir.filePath(name); }
    // The editor, made on first use, with the program's text font.
    TqxEditor& Editor();
    // Prints the editor's text to the PDF printer into the file.
    void PrintToPdf(class TqxPrinter& printer, const QString& file, int startNumber = 1);

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<ScopedPrompter> scopedPrompter;
    std::unique_ptr<TqxEditor> editor;
};

// Loads RTF into the editor as a file of that encoding is opened.
void LoadRtf(TqxEditor& editor, const QByteArray& rtf);

// "Строка 1 ...", one paragraph per line, numbered from 1.
QString RussianLines(int count);

// Runs a program and answers its standard output; empty when it failed.
QByteArray RunTool(const QString& program, const QStringList& arguments);
int PdfPageCount(const QString& file);
// The text of one page (from 1), or of all pages when page is 0.
QString PdfText(const QString& file, int page = 0);
std::vector<PdfWord> PdfWords(const QString& file);
std::vector<PdfPage> PdfPages(const QString& file);
// The page rendered at the given resolution; a null image when it failed.
QImage PdfPageImage(const QString& file, int page, int dpi);
// The files in a folder whose names match the pattern.
QStringList FilesIn(const QString& folder, const QString& pattern = QStringLiteral("*"));
