// SPDX-License-Identifier: GPL-3.0-or-later
// Printed PDF files read back with poppler's tools (pdfinfo, pdftotext, pdftoppm).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

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

// Runs a program and answers its standard output; empty when it failed.
QByteArray RunTool(const QString& program, const QStringList& arguments);
int PdfPageCount(const QString& file);
// The text of one page (from 1), or of all pages when page is 0.
QString PdfText(const QString& file, int page = 0);
std::vector<PdfWord> PdfWords(const QString& file);
std::vector<PdfPage> PdfPages(const QString& file);
// The page rendered at the given resolution; a null image when it failed.
QImage PdfPageImage(const QString& file, int page, int dpi);
