// SPDX-License-Identifier: GPL-3.0-or-later
// The harness of the main-window tests: an application on the offscreen
// platform, private HOME, XDG folders and registry per test, a scripted
// prompter, and a helper that starts the real window with a command line.
#pragma once

#include "privateworld.h"
#include "scriptedprompter.h"
#include "view.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// Readable failures: strings as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates, shows and activates the window with the given arguments, as the
    // program does at start; waits until the start-up sequence has run.
    TfmView& Start(const QStringList& arguments = {});
    // Closes the window without the save question.
    void Discard();

    // A file in the test's folder with the given bytes; answers its full path.
    QString MakeFile(const QString& name, const QByteArray& bytes);
    static QByteArray ReadFile(const QString& name);
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString RegistryFile() const { return PrivateRegistryFile(dir.path()); }

    // The texts of the messages asked so far.
    QStringList Messages() const;

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<ScopedPrompter> scopedPrompter;
    std::unique_ptr<TfmView> view;
};

// Waits (processing events) until the condition holds or the time runs out.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
