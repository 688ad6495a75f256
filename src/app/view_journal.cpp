// SPDX-License-Identifier: GPL-3.0-or-later
// The window's recovery journal: noticing changes, taking the text when typing
// pauses, and removing the journal once the text is saved or given up.
#include "view.h"

#include "filenames.h"
#include "journalsnapshot.h"
#include "journalwriter.h"
#include "qxeditor.h"
#include "richedit.h"

#include <QDateTime>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// How often the window looks for changes; the cost is a few comparisons.
constexpr int TickMs = 100;
// Typing that never pauses is still written this often.
constexpr int LongestDelayMs = 1000;
// A text taken whole in less than this is taken whole again, in a pause, this often.
constexpr qint64 RewholeCostMs = 20;
constexpr qint64 RewholeEveryMs = 10000;

// What the journal says besides the text: a change of it is written too.
QByteArray JournalKey(TfmView& view)
{
    return platform::FileNameBytes(view.CurFileName) + '\0' + char(view.CurEncoding) + char(view.GEditor->UniType()) +
           char(view.GEditor->DosAdd()) + char(view.HasTables);
}

} // namespace

void TfmView::StartJournal()
{
    if (journal || !JournalOn)
        return;
    try {
        journal = std::make_unique<TJournalWriter>(RecoveryFolder());
    } catch (const std::exception&) {
        // No folder for journals: the window works as it did without them.
        return;
    }
    journalTimer = new QTimer(this);
    journalTimer->setInterval(TickMs);
    connect(journalTimer, &QTimer::timeout, this, [this] { JournalTick(); });
    journalTimer->start();
}

void TfmView::SetJournal(bool on, int delayMs)
{
    JournalDelayMs = delayMs;
    JournalOn = on;
    if (on) {
        const bool restarted = !journal;
        StartJournal();
        if (restarted && journal) {
            // What was typed while the journal was off is written whole at once.
            journalDirty = true;
            journalWhole = true;
            journalFirstDirty = journalLastChange = TickNow() - JournalDelayMs;
            journalKey.clear();
        }
        return;
    }
    if (!journal)
        return;
    journal->Remove();
    journal.reset();
    delete journalTimer;
    journalTimer = nullptr;
    // The document stays hooked; with the whole text due, its changes are not recorded.
    journalDirty = false;
    journalWhole = true;
    journalEdits.clear();
    DropJournalBase();
    journalPlain = false;
}

void TfmView::JournalTick()
{
    if (!journal || !TextReady)
        return;
    CheckJournalBase();
    QTextDocument* doc = GEditor->Window()->Document();
    if (doc != journalDocument) {
        // Every load and reinterpretation brings a new document.
        HookJournal(doc);
        DropJournalBase();
        journalPlain = false;
        // Reinterpreting again and again must not put off the text's first write.
        if (!journalDirty)
            journalFirstDirty = TickNow();
        journalLastChange = TickNow();
        journalDirty = true;
        journalWhole = true;
    }
    if (!GEditor->Modified()) {
        // The file (or nothing) holds what is shown: no journal is needed.
        if (!journal->Path().isEmpty())
            journal->Remove();
        journalDirty = false;
        journalEdits.clear();
        journalKey = JournalKey(*this);
        if (!HasJournalBase())
            journalWhole = true;
        else
            journalBasePending = true;
        return;
    }
    if (JournalKey(*this) != journalKey) {
        if (!journalDirty)
            journalFirstDirty = journalLastChange = TickNow() - JournalDelayMs;
        journalDirty = true;
        journalWhole = true;
    }
    const qint64 now = TickNow();
    // Typing that never pauses is written at the longer of the two delays.
    const qint64 longest = std::max<qint64>(LongestDelayMs, JournalDelayMs);
    if (!journalDirty || (now - journalLastChange < JournalDelayMs && now - journalFirstDirty < longest))
        return;
    // A small text is taken whole now and then even when only edits came, so
    // that the journal never depends on a long chain of them. A text read from a
    // file has never been taken whole: its first write is the file, whose chain
    // of edits then stays (a 50 MB text taken whole holds the window a second).
    if (!journalWhole && !journalBasePending && journalWholeCostMs < RewholeCostMs
        && now - journalWholeAt > RewholeEveryMs && now - journalLastChange >= JournalDelayMs)
        journalWhole = true;
    if (!journalWhole && journalBasePending && !WriteJournalBase())
        journalWhole = true;
    if (journalWhole) {
        TakeJournalSnapshot();
    } else {
        journal->Append(journalEdits);
        journalEdits.clear();
        journalDirty = false;
    }
}

void TfmView::HookJournal(QTextDocument* doc)
{
    journalDocument = doc;
    journalTables = TableExtentsOf(*doc);
    connect(doc, &QTextDocument::contentsChange, this,
            [this, doc](int position, int removed, int added) { JournalChange(doc, position, removed, added); });
}

void TfmView::JournalLoaded(const TDiskIdentity& file)
{
    if (!journal)
        return;
    QTextDocument* doc = GEditor->Window()->Document();
    // Read back in another way than it was read (DOS graphics widened, a
    // detection the window overrode, tables built), the file is not the text.
    if (HasTables || GEditor->LoadedDosAsUnicode || GEditor->Encoding() != CurEncoding || !file.exists) {
        DropJournalBase();
        journalPlain = false;
        return;
    }
    if (doc != journalDocument)
        HookJournal(doc);
    DropJournalBase();
    journalBaseFile = CurFileName;
    journalBaseDisk = file;
    StandOnJournalBase(*doc, true);
}

void TfmView::JournalSaved(int kind)
{
    if (!journal)
        return;
    QTextDocument* doc = GEditor->Window()->Document();
    // The saved file stands for the text only when reading it gives this text
    // back: RTF is what a whole copy would hold anyway (all but a byte-order mark,
    // kept apart), plain text must have lost no format and no character.
    // Whether every character reads back is checked on the writer's thread, when
    // the file is read to become the base; until then the window keeps the text
    // as saved.
    bool exact = kind == 0 && doc == journalDocument && GEditor->Encoding() == CurEncoding;
    if (exact && CurEncoding == Rtf)
        exact = doc->characterAt(0) != QChar(QChar::ByteOrderMark);
    else if (exact)
        exact = !GEditor->LoadedDosAsUnicode
                && (journalPlain || (journalPlainFormats && HasOnlyFormats(*doc, *journalPlainFormats)));
    journalPlain = journalPlain || exact;
    const TDiskIdentity saved = DiskIdentityOf(CurFileName);
    DropJournalBase();
    if (!exact || !saved.exists) {
        journalWhole = true;
        return;
    }
    journalBaseFile = CurFileName;
    journalBaseDisk = saved;
    if (CurEncoding != Rtf)
        journalBaseSaved = doc->toRawText();
    StandOnJournalBase(*doc, false);
}

void TfmView::JournalReread(QByteArray bytes)
{
    if (!journal)
        return;
    QTextDocument* doc = GEditor->Window()->Document();
    DropJournalBase();
    journalPlain = false;
    if (HasTables || GEditor->LoadedDosAsUnicode || GEditor->Encoding() != CurEncoding)
        return;
    if (doc != journalDocument)
        HookJournal(doc);
    journalBaseBytes = std::move(bytes);
    StandOnJournalBase(*doc, true);
    // The text is new to the journal: written at once, as after a change.
    const qint64 now = TickNow();
    if (!journalDirty)
        journalFirstDirty = now;
    journalDirty = true;
    journalLastChange = now;
}

void TfmView::StandOnJournalBase(QTextDocument& doc, bool readFromBase)
{
    journalBaseChars = doc.characterCount() - 1;
    journalBaseHead = JournalHead(doc);
    journalBasePending = true;
    if (readFromBase) {
        // Read from plain bytes, the text has only the formats reading gave it.
        journalPlain = CurEncoding != Rtf;
        if (journalPlain)
            journalPlainFormats = PlainFormatsOf(doc);
    }
    journalWhole = false;
    journalEdits.clear();
    journalKey = JournalKey(*this);
}

void TfmView::DropJournalBase()
{
    journalBaseFile.clear();
    journalBaseBytes = QByteArray();
    journalBaseSaved.reset();
    journalBasePending = false;
}

void TfmView::CheckJournalBase()
{
    if (!journal->BaseRefused())
        return;
    // The journal still holds an earlier text; the edits since the base are gone
    // with it, so only the whole text can follow.
    DropJournalBase();
    journalWhole = true;
    journalEdits.clear();
    journalDirty = true;
    journalFirstDirty = journalLastChange = TickNow() - std::max<qint64>(LongestDelayMs, JournalDelayMs);
}

bool TfmView::WriteJournalBase()
{
    TJournalState state;
    std::optional<TFileBase> base;
    if (!journalBaseBytes.isNull()) {
        state.fileBytes = journalBaseBytes;
    } else {
        if (journalBaseFile != CurFileName || DiskIdentityOf(CurFileName) != journalBaseDisk)
            return false;
        // Read, and checked again, on the writer's thread.
        base = TFileBase{CurFileName, journalBaseDisk, std::move(journalBaseSaved), TEnc(CurEncoding),
                         GEditor->DosAdd(), GEditor->UniType()};
        journalBaseSaved.reset();
        journalDiskName = CurFileName;
        journalDisk = journalBaseDisk;
    }
    state.fromFile = true;
    state.characters = journalBaseChars;
    state.selStart = GEditor->SelStart();
    state.selLength = GEditor->SelLength();
    state.head = journalBaseHead;
    FillJournalHeader(state);
    if (base)
        journal->Write(std::move(state), std::move(*base));
    else
        journal->Write(std::move(state));
    journalBasePending = false;
    // The chain of edits stays on the file: taking the whole text instead is
    // what this spares a large text.
    journalWholeAt = TickNow();
    journalWholeCostMs = RewholeCostMs;
    return true;
}

void TfmView::FillJournalHeader(TJournalState& state)
{
    state.fileName = platform::FileNameBytes(CurFileName);
    state.encoding = CurEncoding;
    state.uniType = GEditor->UniType();
    state.dosAdd = GEditor->DosAdd();
    state.hasTables = HasTables;
    state.font = GEditor->Font();
    state.timeMs = QDateTime::currentMSecsSinceEpoch();
    // The file as it was when this journal began: a later recovery can tell
    // whether someone wrote it meanwhile.
    if (journal->Path().isEmpty() || journalDiskName != CurFileName) {
        journalDiskName = CurFileName;
        journalDisk = DiskIdentityOf(CurFileName);
    }
    state.disk = journalDisk;
}

void TfmView::JournalChange(QTextDocument* doc, int position, int removed, int added)
{
    if (doc != journalDocument)
        return;
    // Where the tables were before this change, and are now for the next one.
    const TTableExtents tablesBefore = std::exchange(journalTables, TableExtentsOf(*doc));
    const qint64 now = TickNow();
    if (!journalDirty)
        journalFirstDirty = now;
    journalDirty = true;
    journalLastChange = now;
    if (journalWhole) {
        journalPlain = false;   // not looked at: it may have brought formats
        return;
    }
    std::optional<TJournalEdit> edit = PlainEdit(*doc, position, removed, added, tablesBefore);
    if (!edit)
        journalPlain = false;
    // A change of formats costs the range it touched, not a copy of the whole text.
    if (!edit)
        edit = RichRangeEdit(*doc, position, removed, added, tablesBefore);
    if (!edit) {
        journalWhole = true;
        journalEdits.clear();
        return;
    }
    edit->selStart = GEditor->SelStart();
    edit->selLength = GEditor->SelLength();
    edit->timeMs = QDateTime::currentMSecsSinceEpoch();
    journalEdits += EncodeJournalEdit(*edit);
}

void TfmView::TakeJournalSnapshot()
{
    const qint64 start = TickNow();
    TJournalState state = TakeJournalText(*GEditor);
    FillJournalHeader(state);
    journal->Write(std::move(state));
    journalKey = JournalKey(*this);
    journalDirty = false;
    journalWhole = false;
    DropJournalBase();
    journalEdits.clear();
    journalWholeAt = TickNow();
    journalWholeCostMs = journalWholeAt - start;
}

void TfmView::FlushJournal()
{
    if (!journal)
        return;
    JournalTick();
    if (journalDirty && GEditor->Modified()) {
        if (!journalWhole && journalBasePending && !WriteJournalBase())
            journalWhole = true;
        if (journalWhole) {
            TakeJournalSnapshot();
        } else {
            journal->Append(journalEdits);
            journalEdits.clear();
            journalDirty = false;
        }
    }
    journal->Flush();
    CheckJournalBase();
    if (journalWhole && journalDirty && GEditor->Modified()) {
        TakeJournalSnapshot();
        journal->Flush();
    }
}

void TfmView::FlushRecoveredJournal(TJournalState state, bool exact, qint64 showCostMs)
{
    if (!journal)
        return;
    if (!exact || !GEditor->Modified()) {
        FlushJournal();
        return;
    }
    // From here on the document's changes are edits after the recovered state.
    QTextDocument* doc = GEditor->Window()->Document();
    if (doc != journalDocument)
        HookJournal(doc);
    DropJournalBase();
    journalPlain = false;
    FillJournalHeader(state);
    state.selStart = GEditor->SelStart();
    state.selLength = GEditor->SelLength();
    // The old journal's edits go with it, encoded on the writer's thread.
    journal->Write(std::move(state));
    journalKey = JournalKey(*this);
    journalDirty = false;
    journalWhole = false;
    journalEdits.clear();
    journalWholeAt = TickNow();
    journalWholeCostMs = showCostMs;
    journal->Flush();
}

void TfmView::DiscardJournal()
{
    if (!journal)
        return;
    journal->Remove();
    // Given up as it is: written again, whole, only after a further change.
    journalDirty = false;
    journalWhole = true;
    journalEdits.clear();
    journalKey = JournalKey(*this);
}

QString TfmView::JournalPath() const
{
    if (journal)
        journal->Flush();
    return journal ? journal->Path() : QString();
}

void TfmView::KeepJournalForLater()
{
    if (!journal)
        return;
    FlushJournal();
    if (journal->Path().isEmpty())
        return;
    // Closing the writer lets go of its lock: the journal is then no running
    // copy's and is offered like one left by a crash.
    journal.reset();
    try {
        journal = std::make_unique<TJournalWriter>(RecoveryFolder());
    } catch (const std::exception&) {
        // No new journal: the window goes on without one.
    }
    journalKey.clear();
    journalDirty = false;
    journalWhole = true;
    journalEdits.clear();
}
