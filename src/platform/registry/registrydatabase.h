// SPDX-License-Identifier: GPL-3.0-or-later
// The SQLite file behind the registry store: opening, schema, statements and
// transactions. Only the registry accessor uses it.
#pragma once

#include "registryerror.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class RegistryDatabase;

// One prepared statement; finalized when it goes out of scope.
class RegistryStatement {
public:
    RegistryStatement(RegistryDatabase& db, const char* sql);
    ~RegistryStatement();
    RegistryStatement(const RegistryStatement&) = delete;
    RegistryStatement& operator=(const RegistryStatement&) = delete;

    RegistryStatement& Bind(int index, std::int64_t value);
    RegistryStatement& Bind(int index, const std::string& text);
    RegistryStatement& BindBlob(int index, const std::vector<std::uint8_t>& bytes);
    RegistryStatement& BindNull(int index);

    // True while a row is available; throws on failure with the given kind and name.
    bool Step(RegistryErrorKind kind, const std::string& name);
    void Run(RegistryErrorKind kind, const std::string& name) { Step(kind, name); }

    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Blob(int column) const;
    bool IsNull(int column) const;
    // SQLite's storage class of the column in the current row.
    int ColumnType(int column) const;

private:
    RegistryDatabase& db;
    sqlite3_stmt* stmt = nullptr;
};

class RegistryDatabase {
public:
    // Fixed ids of the two roots, present in every store.
    static constexpr std::int64_t CurrentUserId = 1;
    static constexpr std::int64_t ClassesRootId = 2;

    explicit RegistryDatabase(std::string fileName);
    ~RegistryDatabase();
    RegistryDatabase(const RegistryDatabase&) = delete;
    RegistryDatabase& operator=(const RegistryDatabase&) = delete;

    // Opens the store for reading. False when there is no file yet, or a file
    // without any of our tables: both read as an empty store.
    bool OpenForRead();
    // Opens the store for writing, creating the folder, the file and the tables.
    void OpenForWrite();
    bool IsOpen() const { return handle != nullptr; }
    bool HasSchema() const { return schemaReady; }

    void Begin();
    void Commit();
    void Rollback() noexcept;

    std::int64_t LastInsertId() const;
    // Rows changed by the last statement.
    int Changes() const;
    const std::string& FileName() const { return fileName; }

    // Raises the error that fits an SQLite result: damaged files get the corrupt
    // error naming the file, everything else the given kind and name.
    [[noreturn]] void Fail(int rc, RegistryErrorKind kind, const std::string& name) const;

    sqlite3* Handle() const { return handle; }

private:
    enum class Contents { Ours, Empty, Foreign };

    bool OpenHandle(bool create);
    Contents Inspect();
    void CreateSchema();
    void SwitchToWal();
    void Exec(const char* sql, RegistryErrorKind kind);

    std::string fileName;
    sqlite3* handle = nullptr;
    bool schemaReady = false;
};

// Runs a write as one transaction unless an outer one is already open.
class RegistryWriteScope {
public:
    RegistryWriteScope(RegistryDatabase& db, bool nested);
    ~RegistryWriteScope();
    void Commit();

private:
    RegistryDatabase& db;
    bool owns;
    bool done = false;
};

} // namespace platform
