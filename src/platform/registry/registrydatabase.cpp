// SPDX-License-Identifier: GPL-3.0-or-later
// SQLite access of the registry store. Copies of the program write one file at once:
// WAL lets readers go on, and each write takes the lock up front and waits for it.
#include "registrydatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/stat.h>
#include <thread>

namespace platform {

namespace {

// Marks a file as our store, so that another program's database named by mistake
// is reported instead of having our tables added to it.
constexpr int ApplicationId = 0x51524547;
constexpr int SchemaVersion = 1;
// Copies of the program may hold the write lock while they save a recent list or
// the settings; a few seconds covers any such burst.
constexpr int BusyTimeoutMs = 15000;

bool FileExists(const std::string& name)
{
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0;
}

// Creates the folders of the store, private to the user as XDG asks.
void MakeParentDirs(const std::string& file)
{
    for (std::size_t pos = file.find('/', 1); pos != std::string::npos; pos = file.find('/', pos + 1)) {
        const std::string dir = file.substr(0, pos);
        if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
            return; // the open that follows reports the failure with the file's name
    }
}

bool IsDamaged(int rc)
{
    const int primary = rc & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

} // namespace

RegistryStatement::RegistryStatement(RegistryDatabase& db, const char* sql) : db(db)
{
    const int rc = sqlite3_prepare_v2(db.Handle(), sql, -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        db.Fail(rc, RegistryErrorKind::ReadFailed, db.FileName());
}

RegistryStatement::~RegistryStatement()
{
    sqlite3_finalize(stmt);
}

RegistryStatement& RegistryStatement::Bind(int index, std::int64_t value)
{
    sqlite3_bind_int64(stmt, index, value);
    return *this;
}

RegistryStatement& RegistryStatement::Bind(int index, const std::string& text)
{
    sqlite3_bind_text(stmt, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
    return *this;
}

RegistryStatement& RegistryStatement::BindBlob(int index, const std::vector<std::uint8_t>& bytes)
{
    // A zero-length blob must stay a blob, not become NULL.
    static const std::uint8_t none = 0;
    sqlite3_bind_blob(stmt, index, bytes.empty() ? &none : bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}

RegistryStatement& RegistryStatement::BindNull(int index)
{
    sqlite3_bind_null(stmt, index);
    return *this;
}

bool RegistryStatement::Step(RegistryErrorKind kind, const std::string& name)
{
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    db.Fail(rc, kind, name);
}

std::int64_t RegistryStatement::Int(int column) const
{
    return sqlite3_column_int64(stmt, column);
}

std::string RegistryStatement::Text(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return p ? std::string(p, std::size_t(sqlite3_column_bytes(stmt, column))) : std::string();
}

std::vector<std::uint8_t> RegistryStatement::Blob(int column) const
{
    const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, column));
    const int n = sqlite3_column_bytes(stmt, column);
    return p ? std::vector<std::uint8_t>(p, p + n) : std::vector<std::uint8_t>();
}

bool RegistryStatement::IsNull(int column) const
{
    return sqlite3_column_type(stmt, column) == SQLITE_NULL;
}

int RegistryStatement::ColumnType(int column) const
{
    return sqlite3_column_type(stmt, column);
}

RegistryDatabase::RegistryDatabase(std::string fileName) : fileName(std::move(fileName)) {}

RegistryDatabase::~RegistryDatabase()
{
    sqlite3_close_v2(handle);
}

void RegistryDatabase::Fail(int rc, RegistryErrorKind kind, const std::string& name) const
{
    const std::string detail = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
    if (IsDamaged(rc))
        throw RegistryCorruptError(fileName, detail);
    throw RegistryError(kind, name, detail);
}

void RegistryDatabase::Exec(const char* sql, RegistryErrorKind kind)
{
    const int rc = sqlite3_exec(handle, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(rc, kind, fileName);
}

bool RegistryDatabase::OpenHandle(bool create)
{
    if (handle)
        return true;
    if (!create && !FileExists(fileName))
        return false;
    if (create)
        MakeParentDirs(fileName);
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(fileName.c_str(), &handle, flags, nullptr);
    if (rc != SQLITE_OK && !create) {
        // A store the user may only read still serves the readers.
        sqlite3_close_v2(handle);
        handle = nullptr;
        rc = sqlite3_open_v2(fileName.c_str(), &handle, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    if (rc != SQLITE_OK) {
        const std::string detail = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close_v2(handle);
        handle = nullptr;
        if (IsDamaged(rc))
            throw RegistryCorruptError(fileName, detail);
        throw RegistryError(RegistryErrorKind::Unavailable, fileName, detail);
    }
    sqlite3_busy_timeout(handle, BusyTimeoutMs);
    sqlite3_extended_result_codes(handle, 1);
    // With WAL, NORMAL keeps every committed write across a crash of the program;
    // only a power cut may take the last few, which settings can bear.
    Exec("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL", RegistryErrorKind::ReadFailed);
    return true;
}

RegistryDatabase::Contents RegistryDatabase::Inspect()
{
    // The first read of a file that is not a database fails here, before anything
    // could have been written to it.
    RegistryStatement id(*this, "PRAGMA application_id");
    id.Step(RegistryErrorKind::ReadFailed, fileName);
    if (id.Int(0) == ApplicationId)
        return Contents::Ours;
    RegistryStatement tables(*this, "SELECT count(*) FROM sqlite_master");
    tables.Step(RegistryErrorKind::ReadFailed, fileName);
    return tables.Int(0) == 0 && id.Int(0) == 0 ? Contents::Empty : Contents::Foreign;
}

bool RegistryDatabase::OpenForRead()
{
    if (schemaReady)
        return true;
    if (!OpenHandle(false))
        return false;
    switch (Inspect()) {
    case Contents::Ours: schemaReady = true; return true;
    case Contents::Empty: return false;
    case Contents::Foreign: break;
    }
    throw RegistryCorruptError(fileName, "not a Quillet registry");
}

void RegistryDatabase::OpenForWrite()
{
    if (schemaReady)
        return;
    OpenHandle(true);
    switch (Inspect()) {
    case Contents::Ours: schemaReady = true; return;
    case Contents::Empty: CreateSchema(); return;
    case Contents::Foreign: break;
    }
    throw RegistryCorruptError(fileName, "not a Quillet registry");
}

void RegistryDatabase::CreateSchema()
{
    SwitchToWal();
    Begin();
    try {
        // Another copy may have created the tables while we waited for the lock.
        if (Inspect() == Contents::Empty) {
            Exec("CREATE TABLE keys("
                 " id INTEGER PRIMARY KEY,"
                 " parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,"
                 " name TEXT NOT NULL,"
                 " folded TEXT NOT NULL,"
                 " UNIQUE(parent, folded));"
                 "CREATE TABLE vals("
                 " id INTEGER PRIMARY KEY,"
                 " key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
                 " name TEXT NOT NULL,"
                 " folded TEXT NOT NULL,"
                 " type INTEGER NOT NULL,"
                 " data,"
                 " UNIQUE(key, folded));"
                 "INSERT INTO keys(id, parent, name, folded) VALUES"
                 " (1, NULL, 'HKEY_CURRENT_USER', 'hkey_current_user'),"
                 " (2, NULL, 'HKEY_CLASSES_ROOT', 'hkey_classes_root');",
                 RegistryErrorKind::WriteFailed);
            const std::string pragmas = "PRAGMA application_id = " + std::to_string(ApplicationId)
                + "; PRAGMA user_version = " + std::to_string(SchemaVersion) + ";";
            Exec(pragmas.c_str(), RegistryErrorKind::WriteFailed);
        } else if (Inspect() == Contents::Foreign) {
            throw RegistryCorruptError(fileName, "not a Quillet registry");
        }
        Commit();
    } catch (...) {
        Rollback();
        throw;
    }
    schemaReady = true;
}

void RegistryDatabase::SwitchToWal()
{
    // WAL can only be switched outside a transaction; it stays with the file. The
    // switch needs the file to itself for a moment, and while another copy creates
    // the same store SQLite answers SQLITE_BUSY at once instead of waiting as it
    // does for every other lock: wait here, as long as the busy timeout would.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(BusyTimeoutMs);
    for (int pause = 1;; pause = std::min(pause * 2, 50)) {
        const int rc = sqlite3_exec(handle, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            return;
        if ((rc & 0xFF) != SQLITE_BUSY || Clock::now() >= deadline)
            Fail(rc, RegistryErrorKind::WriteFailed, fileName);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
}

void RegistryDatabase::Begin()
{
    Exec("BEGIN IMMEDIATE", RegistryErrorKind::WriteFailed);
}

void RegistryDatabase::Commit()
{
    Exec("COMMIT", RegistryErrorKind::WriteFailed);
}

void RegistryDatabase::Rollback() noexcept
{
    if (handle && !sqlite3_get_autocommit(handle))
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::int64_t RegistryDatabase::LastInsertId() const
{
    return sqlite3_last_insert_rowid(handle);
}

int RegistryDatabase::Changes() const
{
    return sqlite3_changes(handle);
}

RegistryWriteScope::RegistryWriteScope(RegistryDatabase& db, bool nested) : db(db), owns(!nested)
{
    if (owns)
        db.Begin();
}

RegistryWriteScope::~RegistryWriteScope()
{
    if (owns && !done)
        db.Rollback();
}

void RegistryWriteScope::Commit()
{
    if (owns && !done)
        db.Commit();
    done = true;
}

} // namespace platform
