// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery journal of a modified window: its file format, its folder, and
// reading one back, refusing anything that is not exactly one of ours.
#pragma once

#include "editortypes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// A file on disk as it was when the journal began: a changed size, time or
// inode later means someone else wrote it meanwhile.
struct TDiskIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;

    bool operator==(const TDiskIdentity&) const = default;
};

// A change of the text after a whole state: remove `removed` characters at
// position, insert text there in the format of what precedes it. A change of
// formats, tables or objects carries instead the RTF of the range it left
// (`added` characters long), read in over the removed ones.
struct TJournalEdit {
    qint32 position = 0;
    qint32 removed = 0;
    QString text;
    bool rich = false;
    qint32 added = 0;
    QByteArray rtf;
    qint32 selStart = 0;
    qint32 selLength = 0;
    qint64 timeMs = 0;
};

// What a journal keeps of a window: enough to show the text again exactly (the
// control's own RTF keeps formats, tables and objects) under its name and encoding.
struct TJournalState {
    QByteArray fileName;          // native bytes; empty for an untitled text
    std::uint8_t encoding = 1;    // the shown encoding, as TEnc
    std::uint8_t uniType = 0;     // UTF-16 byte order, as TUniType
    std::uint8_t dosAdd = 0;      // DOS mode, as TDosAdd
    bool hasTables = false;
    std::int32_t selStart = 0;
    std::int32_t selLength = 0;
    qint64 timeMs = 0;           // when the state was taken, ms since the epoch
    qint64 characters = 0;   // of the whole state, before its edits      // the text's length, for the list of journals
    TDiskIdentity disk;           // the named file when the journal began
    // The text's first characters, counted as the document counts them (paragraph
    // ends as U+2029), so that the edits after the state can be applied to them
    // for the list's preview without rebuilding the whole text.
    QString head;
    QByteArray rtf;
    bool byteOrderMark = false;   // the text begins with one, which RTF does not keep
    // Instead of the RTF: the bytes of the file the text was loaded from, read
    // again in the state's encoding, byte order and DOS mode. Taking a large
    // loaded text this way costs a read, not a conversion of all of it.
    bool fromFile = false;
    QByteArray fileBytes;
    // Instead of the RTF, for a text without tables, lists or objects: its
    // characters as the document holds them (paragraph ends as U+2029) and its
    // formats as runs over a table kept as RTF, one paragraph for each block
    // format, then one for each character format. Rebuilding it costs one
    // insertion and a change per run, not a reading of RTF.
    bool plainRuns = false;
    QString plainText;
    QByteArray formatTable;
    std::uint32_t blockFormats = 0;
    std::uint32_t charFormats = 0;
    std::uint32_t firstCharFormat = 0;     // of the first paragraph's empty start
    std::vector<std::uint32_t> blockRuns;  // pairs: paragraphs, block format
    std::vector<std::uint32_t> charRuns;   // pairs: characters, character format
    std::vector<TJournalEdit> edits;   // what changed after the whole state, in order
    // The window's font, which a text read from a file takes and which its RTF
    // names; empty when unknown.
    std::optional<TFont> font;
};

// The encoded record of a whole state (its edits aside), and of one edit after it;
// what a journal file appends.
QByteArray EncodeJournalRecord(const TJournalState& state);
QByteArray EncodeJournalEdit(const TJournalEdit& edit);
// The magic a journal file begins with.
QByteArray JournalMagic();

// $XDG_STATE_HOME/quillet/recovery (~/.local/state/... by default), made 0700 when
// missing. Throws std::runtime_error when it cannot be made, or when what is
// there is a link, not a folder, or someone else's.
QString RecoveryFolder();
// The journal file name suffix.
inline constexpr const char* JournalSuffix = ".qlj";

// The last whole state in a journal file. A torn or damaged tail is ignored; a
// file that is a link, someone else's, too large or holds no whole state is
// refused: throws std::runtime_error saying why, and the file is left as it is.
TJournalState ReadJournal(const QString& path);

// A journal of the folder, by its ID (the file name without the suffix).
struct TJournalEntry {
    QString id;
    QString path;
};
std::vector<TJournalEntry> ListJournals(const QString& folder);

// A journal no running copy holds, taken for this process: while it lives no
// other copy can offer or recover the same journal. Empty when the journal is
// someone's (its writer runs, or another copy took it first) or cannot be opened.
class TJournalClaim {
public:
    static std::optional<TJournalClaim> Take(const QString& path);
    TJournalClaim(TJournalClaim&& other) noexcept;
    TJournalClaim& operator=(TJournalClaim&& other) noexcept;
    TJournalClaim(const TJournalClaim&) = delete;
    TJournalClaim& operator=(const TJournalClaim&) = delete;
    ~TJournalClaim();

    const QString& Path() const { return path; }
    // Removes the journal (recovered or discarded) and lets it go.
    void Remove();

private:
    TJournalClaim(QString path, int fd) : path(std::move(path)), fd(fd) {}
    QString path;
    int fd = -1;
};

// A file's bytes, read by its exact name; nothing when it cannot be read whole.
std::optional<QByteArray> ReadFileBytes(const QString& fileName);

// The identity of a file now; exists false when there is none.
TDiskIdentity DiskIdentityOf(const QString& fileName);
