// SPDX-License-Identifier: GPL-3.0-or-later
// Finding language files and installing the chosen one at start.
#include "languagefiles.h"

#include "datafolders.h"
#include "languageoverride.h"
#include "registryerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

namespace {

// What InstallInterfaceLanguage installed, so that it can be taken back.
QList<QTranslator*>& Installed()
{
    static QList<QTranslator*> translators;
    return translators;
}

bool Install(const QString& file, const QString& folder = {})
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(file, folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    Installed().append(translator);
    return true;
}

QString CodeOf(const QFileInfo& file, const QString& baseName)
{
    // The name is the base name, a dot, then at least the two letters of the code.
    const QString name = file.fileName();
    if (name.size() < baseName.size() + 3 || !name.startsWith(baseName + QLatin1Char('.')))
        return {};
    return name.mid(baseName.size() + 1, 2).toUpper();
}

} // namespace

QString LanguageName(const QString& code)
{
    if (code.size() != 2)
        return {};
    const QLocale::Language language = QLocale::codeToLanguage(code.toLower(), QLocale::ISO639Part1);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return {};
    QString name = QLocale(language).nativeLanguageName();
    if (name.isEmpty())
        name = QLocale::languageToString(language);
    // The system list's names may carry a region in brackets; the menu shows none.
    const qsizetype bracket = name.indexOf(QLatin1Char('('));
    if (bracket >= 0)
        name = name.left(bracket).trimmed();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

QList<LanguageFile> LanguageFiles(const QString& executable)
{
    const QString baseName = QFileInfo(executable).baseName();
    QList<LanguageFile> files;
    QStringList codes;
    // A file beside the executable stands in for the installed one of its language.
    for (const QString& folder : DataFolders(executable)) {
        const QFileInfoList found =
            QDir(folder).entryInfoList({baseName + QStringLiteral(".*")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : found) {
            const QString code = CodeOf(file, baseName);
            const QString name = LanguageName(code);
            if (name.isEmpty() || codes.contains(code))
                continue;
            codes << code;
            files.append({code, name, file.absoluteFilePath()});
        }
    }
    std::stable_sort(files.begin(), files.end(), [](const LanguageFile& a, const LanguageFile& b) {
        return QFileInfo(a.Path).fileName() < QFileInfo(b.Path).fileName();
    });
    return files;
}

QString UserLanguageCode()
{
    return QLocale::system().name().left(2).toUpper();
}

QString InstallInterfaceLanguage(const QString& executable)
{
    QString code;
    try {
        code = ReadLanguageOverride(executable).left(2).toUpper();
    } catch (const platform::RegistryError&) {
        // An unreadable store is told by the window's own readers; the texts stay English.
        return {};
    }
    if (code.isEmpty())
        return {};
    for (const LanguageFile& file : LanguageFiles(executable)) {
        if (file.Code != code)
            continue;
        if (!Install(file.Path))
            return {};
        // Standard buttons and dialogs of the toolkit speak the same language.
        Install(QStringLiteral("qtbase_") + code.toLower(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return code;
    }
    return {};
}

void RemoveInterfaceLanguage()
{
    for (QTranslator* translator : Installed()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    Installed().clear();
}
