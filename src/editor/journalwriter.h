// SPDX-License-Identifier: GPL-3.0-or-later
// TJournalWriter: one window's journal file, written and made durable on a thread
// of its own so that nothing the user does waits on the disk.
#pragma once

#include "enctypes.h"
#include "recoveryjournal.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

// A file that is to be the journal's base, read and checked on the writer's
// thread: the window's thread never waits for a large file or a long check.
struct TFileBase {
    QString fileName;
    TDiskIdentity disk;   // the file as the text was read from it or saved to it
    // When set, the text as it was saved: the file stands for it only when every
    // character survives being written in the encoding and read back.
    std::optional<QString> savedText;
    TEnc encoding = Win;
    TDosAdd dosAdd = daNone;
    TUniType uniType = Little;
};

class TJournalWriter {
public:
    // The journal will be a new file in folder, named for this process.
    explicit TJournalWriter(QString folder);
    // Finishes what was handed over, then stops the thread; the file is kept.
    ~TJournalWriter();
    TJournalWriter(const TJournalWriter&) = delete;
    TJournalWriter& operator=(const TJournalWriter&) = delete;

    // Hands over the encoded record of a whole state: what still waits is then
    // not needed and is dropped.
    void Write(QByteArray record);
    // The same for a state not yet encoded: a large text's record is then built
    // and checksummed on the writer's thread, not the caller's; its edits, when
    // it has any, are written after it.
    void Write(TJournalState state);
    // The same for a state standing on a file, whose bytes the thread reads. When
    // the file is no longer the one named, or the saved text would not read back
    // from it, nothing is written, edits handed over after it are dropped until
    // the next whole state, and BaseRefused tells so once.
    void Write(TJournalState state, TFileBase base);
    bool BaseRefused();
    // Hands over encoded edits, written after what waits; without a whole state
    // before them in the file they are dropped.
    void Append(const QByteArray& records);
    // Removes the journal file (and any record still waiting).
    void Remove();
    // Waits until everything handed over is on disk, durable.
    void Flush();

    // The journal's path once the file exists; empty before and after removal.
    QString Path() const;
    // The last write that failed (a full disk), empty when none did.
    QString LastError() const;

private:
    enum class Job { None, Write, Remove };
    void Run();
    void WriteNow(const QByteArray& record, bool whole);
    static bool ReadBase(TJournalState& state, const TFileBase& base);
    void RemoveNow();
    bool Create(const QByteArray& record);

    const QString folder;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    Job job = Job::None;
    QByteArray pending;
    std::optional<TJournalState> pendingState;   // encoded before pending, when set
    std::optional<TFileBase> pendingBase;        // the file pendingState stands on
    bool baseRefused = false;
    bool refusingEdits = false;                  // the edits' base was refused
    bool pendingWhole = false;
    bool busy = false;
    bool stopping = false;
    // Owned by the thread, read under the mutex.
    QString path;
    QString lastError;
    int fd = -1;
    qint64 fileBytes = 0;
    std::thread thread;
};
