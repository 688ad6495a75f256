// SPDX-License-Identifier: GPL-3.0-or-later
// What LibreOffice found in a document, read from its HTML export: the lists with
// the numbers of their items, the tables with their rows, cells and header rows,
// and the words.
#pragma once

#include <QString>
#include <QStringList>

namespace rtftest {

struct LibreOfficeLayout {
    // Opening and closing lists, items with their numbers ("li 3." / "li (b)" /
    // "li •"), tables, header rows, rows and cells, in document order.
    QStringList structure;
    // Each item's number and text: "3. Сроки поставки".
    QStringList items;
    int lists = 0;
    int tables = 0;
    int rows = 0;
    int cells = 0;
    int headerRows = 0;
    QString words;   // the text, white space simplified

    // "lists 4, items 8, tables 2, rows 4, cells 8, header rows 1"
    QString Counts() const;
};

LibreOfficeLayout ParseLibreOfficeHtml(const QString& html);

// Has LibreOffice (soffice) convert the files to HTML in one run, into
// dir/html, with a profile of its own under dir. False when it did not finish.
bool ConvertToHtml(const QString& soffice, const QString& dir, const QStringList& inputs);
// The HTML LibreOffice made of the file, empty when it made none.
QString HtmlOf(const QString& dir, const QString& inputPath);

} // namespace rtftest
