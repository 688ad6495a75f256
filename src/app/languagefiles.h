// SPDX-License-Identifier: GPL-3.0-or-later
// Language files beside the executable or in the installed data folder ("quillet.ru"
// and the like: the executable's base name, a dot, an extension whose first two
// letters are the language code) and the interface translation installed at start
// from the stored override.
#pragma once

#include <QList>
#include <QString>

struct LanguageFile {
    QString Code;  // two letters, upper case
    QString Name;  // the language's own name, as a language menu shows it
    QString Path;
};

// The language files whose code names a known language, in file-name order: those
// beside the executable, then those of the installed data folder whose language
// was not found yet.
QList<LanguageFile> LanguageFiles(const QString& executable);

// The name of the language a two-letter code stands for, in that language, with a
// capital first letter; empty when the code names no language.
QString LanguageName(const QString& code);

// The two-letter code of the user's locale, upper case.
QString UserLanguageCode();

// Installs the translation the override stored for this executable names, when its
// file exists (Qt's own dialog texts in that language too, where installed); the
// built-in English texts otherwise. Answers the code installed, or empty.
QString InstallInterfaceLanguage(const QString& executable);

// Takes back what InstallInterfaceLanguage installed (for a host that starts windows
// again in one process).
void RemoveInterfaceLanguage();
