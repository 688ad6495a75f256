// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers of the editor tests: a QApplication for the whole run, a
// temporary folder, the sample files and byte helpers.
#pragma once

#include "qxeditor.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class QTemporaryDir;

using TBytes = std::vector<std::uint8_t>;

// A fresh folder removed with its contents.
class TTestDir {
public:
    TTestDir();
    ~TTestDir();
    QString Path(const QString& name) const;
    QString Write(const QString& name, const TBytes& bytes) const;

private:
    std::unique_ptr<QTemporaryDir> dir;
};

// A file of tests/data/editor.
QString Sample(const QString& name);
TBytes ReadBytes(const QString& fileName);
void WriteBytes(const QString& fileName, const TBytes& bytes);
TBytes Latin1(const std::string& s);


// The lines the letter samples show once loaded, whatever their code page.
QStringList SampleLines();

// An editor as the main window has it: no word wrap, so that a line is a paragraph.
class TTestEditor : public TqxEditor {
public:
    TTestEditor() { SetWordWrap(false); }
};

// The message of the E that the action raises, or "(nothing raised)".
template <typename E, typename F>
std::string MessageOf(F&& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "(nothing raised)";
}

// Readable failure messages for Qt strings.
void PrintTo(const QString& s, std::ostream* os);
void PrintTo(const QStringList& list, std::ostream* os);
