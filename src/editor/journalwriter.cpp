// SPDX-License-Identifier: GPL-3.0-or-later
// The journal's writing thread: appends records, syncs them, and now and then
// starts the file afresh so that it does not grow without end.
#include "journalwriter.h"

#include "filenames.h"
#include "plainreadback.h"
#include "recoveryjournal.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A journal is started afresh once the records before the newest outweigh it
// this many times (and a little), so a long session costs bounded disk.
constexpr qint64 CompactFactor = 4;
constexpr qint64 CompactSlack = 1 << 20;

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void SyncFolder(const QByteArray& folder)
{
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// A new file of ours in the folder, locked, holding the magic and one record.
int NewJournalFile(const QByteArray& name, const QByteArray& record)
{
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !WriteAll(fd, JournalMagic() + record) || ::fdatasync(fd) != 0) {
        ::unlink(name.constData());
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

TJournalWriter::TJournalWriter(QString folder) : folder(std::move(folder))
{
    thread = std::thread([this] { Run(); });
}

TJournalWriter::~TJournalWriter()
{
    Flush();
    {
        std::lock_guard lock(mutex);
        stopping = true;
        job = Job::None;
    }
    wake.notify_all();
    thread.join();
    if (fd >= 0)
        ::close(fd);
}

void TJournalWriter::Write(QByteArray record)
{
    {
        std::lock_guard lock(mutex);
        job = Job::Write;
        pending = std::move(record);
        pendingState.reset();
        pendingBase.reset();
        pendingWhole = true;
        refusingEdits = false;
    }
    wake.notify_all();
}

void TJournalWriter::Write(TJournalState state)
{
    {
        std::lock_guard lock(mutex);
        job = Job::Write;
        pending.clear();
        pendingState = std::move(state);
        pendingBase.reset();
        pendingWhole = true;
        refusingEdits = false;
    }
    wake.notify_all();
}

void TJournalWriter::Write(TJournalState state, TFileBase base)
{
    {
        std::lock_guard lock(mutex);
        job = Job::Write;
        pending.clear();
        pendingState = std::move(state);
        pendingBase = std::move(base);
        pendingWhole = true;
        refusingEdits = false;
    }
    wake.notify_all();
}

bool TJournalWriter::BaseRefused()
{
    std::lock_guard lock(mutex);
    return std::exchange(baseRefused, false);
}

bool TJournalWriter::ReadBase(TJournalState& state, const TFileBase& base)
{
    if (base.savedText && !PlainTextReadsBack(*base.savedText, base.encoding, base.dosAdd, base.uniType))
        return false;
    if (DiskIdentityOf(base.fileName) != base.disk)
        return false;
    std::optional<QByteArray> bytes = ReadFileBytes(base.fileName);
    // Written meanwhile by someone else: those are not the bytes the text came from.
    if (!bytes || DiskIdentityOf(base.fileName) != base.disk)
        return false;
    state.fileBytes = std::move(*bytes);
    return true;
}

void TJournalWriter::Append(const QByteArray& records)
{
    {
        std::lock_guard lock(mutex);
        if (job == Job::Remove || (refusingEdits && !(job == Job::Write && pendingWhole)))
            return;
        if (job == Job::None) {
            job = Job::Write;
            pending.clear();
            pendingWhole = false;
        }
        pending += records;
    }
    wake.notify_all();
}

void TJournalWriter::Remove()
{
    {
        std::lock_guard lock(mutex);
        job = Job::Remove;
        pending.clear();
        pendingState.reset();
        pendingBase.reset();
    }
    wake.notify_all();
}

void TJournalWriter::Flush()
{
    std::unique_lock lock(mutex);
    idle.wait(lock, [this] { return job == Job::None && !busy; });
}

QString TJournalWriter::Path() const
{
    std::lock_guard lock(mutex);
    return path;
}

QString TJournalWriter::LastError() const
{
    std::lock_guard lock(mutex);
    return lastError;
}

void TJournalWriter::Run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || job != Job::None; });
        if (stopping)
            break;
        const Job now = job;
        QByteArray record = std::move(pending);
        std::optional<TJournalState> state = std::move(pendingState);
        std::optional<TFileBase> base = std::move(pendingBase);
        const bool whole = pendingWhole;
        // Edits that came after a refused base would not apply to what the journal holds.
        const bool dropEdits = now == Job::Write && !whole && refusingEdits;
        pending.clear();
        pendingState.reset();
        pendingBase.reset();
        pendingWhole = false;
        job = Job::None;
        busy = true;
        lock.unlock();
        const bool refused = !dropEdits && state && base && !ReadBase(*state, *base);
        base.reset();
        if (state && !refused) {
            // A state handed over with edits (a recovered one) keeps them after it.
            QByteArray whole = EncodeJournalRecord(*state);
            for (const TJournalEdit& edit : state->edits)
                whole += EncodeJournalEdit(edit);
            record.prepend(whole);
        }
        state.reset();
        if (refused) {
            // The journal keeps the text it held; the edits handed over with the
            // base and after it are dropped, until a whole state ends this.
            std::lock_guard held(mutex);
            baseRefused = true;
            refusingEdits = !(job == Job::Write && pendingWhole);
        } else if (!dropEdits) {
            if (now == Job::Write)
                WriteNow(record, whole);
            else
                RemoveNow();
        }
        lock.lock();
        busy = false;
        if (job == Job::None)
            idle.notify_all();
    }
    busy = false;
    idle.notify_all();
}

bool TJournalWriter::Create(const QByteArray& record)
{
    const QByteArray dir = platform::FileNameBytes(folder);
    const QByteArray name = dir + '/' + QByteArray::number(::getpid()) + '-' +
                            QByteArray::number(QRandomGenerator::system()->generate64(), 16) + JournalSuffix;
    // Locked before it takes its name: a copy listing journals in between would
    // find it free, and take a running window's journal for its own.
    const QByteArray temporary = name + ".new";
    const int fresh = NewJournalFile(temporary, record);
    if (fresh < 0)
        return false;
    // A link, not a rename: a file that somehow has the name already is kept.
    const bool named = ::link(temporary.constData(), name.constData()) == 0;
    ::unlink(temporary.constData());
    if (!named) {
        ::close(fresh);
        return false;
    }
    SyncFolder(dir);
    std::lock_guard lock(mutex);
    fd = fresh;
    path = platform::FileNameFromBytes(name);
    fileBytes = JournalMagic().size() + record.size();
    return true;
}

void TJournalWriter::WriteNow(const QByteArray& record, bool whole)
{
    bool ok = false;
    if (fd < 0) {
        if (!whole)
            return;   // edits of a text the journal does not hold
        ok = Create(record);
    } else if (whole && fileBytes > CompactFactor * record.size() + CompactSlack) {
        // The fresh file is whole and locked before it takes the name; the old
        // one is let go only after, so a reader sees one journal or the other.
        const QByteArray name = platform::FileNameBytes(path);
        const QByteArray temporary = name + ".new";
        const int fresh = NewJournalFile(temporary, record);
        if (fresh >= 0 && ::rename(temporary.constData(), name.constData()) == 0) {
            SyncFolder(platform::FileNameBytes(folder));
            ::close(fd);
            std::lock_guard lock(mutex);
            fd = fresh;
            fileBytes = JournalMagic().size() + record.size();
            ok = true;
        } else if (fresh >= 0) {
            ::unlink(temporary.constData());
            ::close(fresh);
        }
    } else {
        ok = WriteAll(fd, record) && ::fdatasync(fd) == 0;
        if (ok)
            fileBytes += record.size();
        else if (::ftruncate(fd, fileBytes) == 0)
            ::lseek(fd, fileBytes, SEEK_SET);   // a part record would hide every later one
    }
    std::lock_guard lock(mutex);
    lastError = ok ? QString() : QString::fromLocal8Bit(std::strerror(errno));
}

void TJournalWriter::RemoveNow()
{
    if (fd < 0)
        return;
    const QByteArray name = platform::FileNameBytes(Path());
    ::unlink(name.constData());
    ::close(fd);
    std::lock_guard lock(mutex);
    fd = -1;
    path.clear();
    fileBytes = 0;
}
