// SPDX-License-Identifier: GPL-3.0-or-later
// Real copies of the program for the several-window tests: each a process of
// its own, offscreen, in the test's runtime folder and registry, with a script
// of answers for its questions and a log of what it was asked.
#pragma once

#include "testsupport.h"

#include "recoveryjournal.h"

#include <QProcess>

#include <memory>
#include <vector>

class ChildCopy {
public:
    // Starts the program with the arguments; the answers are given, in order, to
    // the questions the copy asks. Waits until it has registered.
    ChildCopy(const QString& folder, const QString& name, const QStringList& arguments,
              const QStringList& answers);
    ~ChildCopy();

    qint64 Handle() const { return handle; }
    bool Started() const { return handle != 0; }
    // The log lines of the copy with the handle ("question\t...", "front", ...),
    // without the handle; by default this copy's.
    QStringList Log(qint64 of = 0) const;
    bool WaitForLog(const QString& line, int timeoutMs = 10000, qint64 of = 0) const;
    bool WaitForExit(int timeoutMs = 10000);
    bool Running() const { return process.state() == QProcess::Running; }
    // A test's typing or menu command, carried out by the copy.
    bool Command(const QString& command) const;

private:
    QProcess process;
    QString script;
    qint64 handle = 0;
};

class WindowsTest : public ViewTest {
protected:
    void TearDown() override;

    ChildCopy& Child(const QStringList& arguments = {}, const QStringList& answers = {});
    // Waits until the copies with these handles (and only they) are listed.
    bool WaitForCopies(const QList<qint64>& handles, int timeoutMs = 10000);
    // The caption a listing shows for the copy, once it names a loaded file.
    bool WaitForCaption(qint64 handle, const QString& caption, int timeoutMs = 10000);

    std::vector<std::unique_ptr<ChildCopy>> children;
};

// Whether the process has ended (gone, or a zombie waiting for its reaper).
bool ProcessGone(qint64 pid);
// The arguments the process was started with.
QStringList CommandLineOf(qint64 pid);
// The converter run with the arguments: its exit code (-1 if it crashed or hung)
// and what it wrote.
struct ConvRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};
ConvRun Conv(const QStringList& arguments);
// The recovery journals left in the test's runtime folder.
inline std::vector<TJournalEntry> Journals() { return ListJournals(RecoveryFolder()); }
