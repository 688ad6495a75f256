// SPDX-License-Identifier: GPL-3.0-or-later
// A private home for each desktop-mirror test: HOME, the XDG folders and
// system config and data folders of its own, no desktop named in the environment (so that
// xdg-mime answers from the files alone), and helpers to look at the result.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

class MirrorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Data(const QString& rel) const { return data + QLatin1Char('/') + rel; }
    QString Config(const QString& rel) const { return config + QLatin1Char('/') + rel; }
    static QByteArray Read(const QString& path);
    static void Write(const QString& path, const QByteArray& bytes);
    // Every file below the home and XDG folders with its contents, without the
    // caches the desktop's tools build from them.
    QMap<QString, QByteArray> Snapshot() const;
    // Every folder and file below the home, caches included, folders as "/".
    QMap<QString, QByteArray> Tree() const;

    // An executable that writes each argument it gets on a line of its own into
    // the file Recorded() reads; by default in a folder whose name is full of
    // shell syntax.
    QString MakeRecorder(const QString& folderName = {});
    // The arguments of the recorder's last run, waiting for it to finish.
    QStringList Recorded() const;

    // What xdg-mime says opens the type, after the desktop's caches are rebuilt.
    QString DefaultFor(const QString& type) const;
    // Runs a program; answers its exit code and puts its output in out.
    static int Run(const QString& program, const QStringList& arguments, QString* out = nullptr);

    QTemporaryDir dir;
    // systemData stands first in XDG_DATA_DIRS, where installed programs' entries are.
    QString home, data, config, systemConfig, systemData;
    QByteArray path; // PATH as it was, put back after the test
};

// Readable failures: strings and bytes as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"' << bytes.toStdString() << '"';
}
