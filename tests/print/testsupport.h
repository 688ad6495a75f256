// SPDX-License-Identifier: GPL-3.0-or-later
// The harness of the printing tests: one application on the offscreen platform,
// a private folder, registry and scripted prompter per test, an editor holding
// Russian text, and the PDF printer reset to A4 portrait.
#pragma once

#include "qxeditor.h"
#include "scriptedprompter.h"
#include "testsupport_pdf.h"

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

// The files in a folder whose names match the pattern.
QStringList FilesIn(const QString& folder, const QString& pattern = QStringLiteral("*"));
