// SPDX-License-Identifier: GPL-3.0-or-later
// The registry accessor: keys, values and their kinds on top of the SQLite store.
#include "registry.h"

#include "registrydatabase.h"
#include "registrypath.h"

#include <bit>
#include <cstring>

namespace platform {

namespace {

// How the unnamed value is named in messages.
const std::string DefaultValueName = "(Default)";

std::string Shown(std::string_view name)
{
    return name.empty() ? DefaultValueName : std::string(name);
}

std::vector<std::uint8_t> DoubleToBytes(double value)
{
    std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    std::vector<std::uint8_t> bytes(8);
    for (auto& b : bytes) {
        b = std::uint8_t(bits & 0xFF);
        bits >>= 8;
    }
    return bytes;
}

double BytesToDouble(const std::vector<std::uint8_t>& bytes)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | bytes[std::size_t(i)];
    return std::bit_cast<double>(bits);
}

} // namespace

TRegistry::TRegistry(RegRoot root) : root(root), db(std::make_unique<RegistryDatabase>(RegistryFileName())) {}

TRegistry::~TRegistry() = default;

const std::string& TRegistry::FileName() const
{
    return db->FileName();
}

void TRegistry::SetRootKey(RegRoot newRoot)
{
    CloseKey();
    root = newRoot;
}

void TRegistry::CloseKey()
{
    currentKey.reset();
    currentPath.clear();
    currentReadOnly = false;
}

bool TRegistry::EnsureRead()
{
    return db->OpenForRead();
}

void TRegistry::EnsureWrite(std::string_view what)
{
    if (currentReadOnly)
        throw RegistryError(RegistryErrorKind::WriteFailed, Shown(what), "key opened read-only: " + currentPath);
    db->OpenForWrite();
}

std::int64_t TRegistry::RootId() const
{
    return root == RegRoot::CurrentUser ? RegistryDatabase::CurrentUserId : RegistryDatabase::ClassesRootId;
}

std::int64_t TRegistry::CurrentId() const
{
    return currentKey.value_or(RootId());
}

std::string TRegistry::JoinPath(std::string_view path) const
{
    std::string joined = IsAbsoluteKeyPath(path) ? std::string() : currentPath;
    for (const auto& part : SplitKeyPath(path))
        joined += "\\" + part;
    return joined;
}

std::optional<std::int64_t> TRegistry::FindKey(std::string_view path)
{
    if (!EnsureRead())
        return std::nullopt;
    std::int64_t id = IsAbsoluteKeyPath(path) ? RootId() : CurrentId();
    const std::string shown(path);
    for (const auto& part : SplitKeyPath(path)) {
        RegistryStatement find(*db, "SELECT id FROM keys WHERE parent = ? AND folded = ?");
        find.Bind(1, id).Bind(2, FoldName(part));
        if (!find.Step(RegistryErrorKind::ReadFailed, shown))
            return std::nullopt;
        id = find.Int(0);
    }
    return id;
}

std::int64_t TRegistry::MakeKey(std::string_view path)
{
    db->OpenForWrite();
    const std::string shown(path);
    RegistryWriteScope scope(*db, transactionDepth > 0);
    std::int64_t id = IsAbsoluteKeyPath(path) ? RootId() : CurrentId();
    for (const auto& part : SplitKeyPath(path)) {
        const std::string folded = FoldName(part);
        RegistryStatement insert(*db, "INSERT INTO keys(parent, name, folded) VALUES(?, ?, ?)"
                                      " ON CONFLICT(parent, folded) DO NOTHING");
        insert.Bind(1, id).Bind(2, part).Bind(3, folded).Run(RegistryErrorKind::KeyFailed, shown);
        RegistryStatement find(*db, "SELECT id FROM keys WHERE parent = ? AND folded = ?");
        find.Bind(1, id).Bind(2, folded);
        if (!find.Step(RegistryErrorKind::KeyFailed, shown))
            throw RegistryError(RegistryErrorKind::KeyFailed, shown);
        id = find.Int(0);
    }
    scope.Commit();
    return id;
}

bool TRegistry::OpenKey(std::string_view path, bool canCreate)
{
    const std::optional<std::int64_t> id = canCreate ? MakeKey(path) : FindKey(path);
    if (!id)
        return false;
    currentPath = JoinPath(path);
    currentKey = id;
    currentReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view path)
{
    if (!OpenKey(path, false))
        return false;
    currentReadOnly = true;
    return true;
}

bool TRegistry::KeyExists(std::string_view path)
{
    return FindKey(path).has_value();
}

bool TRegistry::CreateKey(std::string_view path)
{
    MakeKey(path);
    return true;
}

bool TRegistry::DeleteKey(std::string_view path)
{
    // The roots themselves cannot be deleted.
    if (SplitKeyPath(path).empty() || !FindKey(path))
        return false;
    db->OpenForWrite();
    RegistryWriteScope scope(*db, transactionDepth > 0);
    const std::optional<std::int64_t> id = FindKey(path); // again, under the write lock
    if (!id)
        return false;
    RegistryStatement erase(*db, "DELETE FROM keys WHERE id = ?");
    erase.Bind(1, *id).Run(RegistryErrorKind::WriteFailed, std::string(path));
    scope.Commit();
    return true;
}

bool TRegistry::HasSubKeys()
{
    if (!EnsureRead())
        return false;
    RegistryStatement any(*db, "SELECT 1 FROM keys WHERE parent = ? LIMIT 1");
    any.Bind(1, CurrentId());
    return any.Step(RegistryErrorKind::ReadFailed, currentPath);
}

std::vector<std::string> TRegistry::GetKeyNames()
{
    std::vector<std::string> names;
    if (!EnsureRead())
        return names;
    RegistryStatement list(*db, "SELECT name FROM keys WHERE parent = ? ORDER BY id");
    list.Bind(1, CurrentId());
    while (list.Step(RegistryErrorKind::ReadFailed, currentPath))
        names.push_back(list.Text(0));
    return names;
}

std::vector<std::string> TRegistry::GetValueNames()
{
    std::vector<std::string> names;
    if (!EnsureRead())
        return names;
    RegistryStatement list(*db, "SELECT name FROM vals WHERE key = ? ORDER BY id");
    list.Bind(1, CurrentId());
    while (list.Step(RegistryErrorKind::ReadFailed, currentPath))
        names.push_back(list.Text(0));
    return names;
}

std::optional<TRegistry::StoredValue> TRegistry::Load(std::string_view name)
{
    if (!EnsureRead())
        return std::nullopt;
    RegistryStatement get(*db, "SELECT type, data FROM vals WHERE key = ? AND folded = ?");
    get.Bind(1, CurrentId()).Bind(2, FoldName(name));
    if (!get.Step(RegistryErrorKind::ReadFailed, Shown(name)))
        return std::nullopt;
    StoredValue v;
    v.type = RegDataType(get.Int(0));
    if (v.type == RegDataType::Integer)
        v.number = get.Int(1);
    else
        v.bytes = get.Blob(1);
    return v;
}

TRegistry::StoredValue TRegistry::LoadAs(std::string_view name, RegDataType type)
{
    std::optional<StoredValue> v = Load(name);
    if (!v)
        throw RegistryError(RegistryErrorKind::MissingValue, Shown(name), currentPath);
    if (v->type != type)
        throw RegistryError(RegistryErrorKind::WrongKind, Shown(name), currentPath);
    return *v;
}

bool TRegistry::ValueExists(std::string_view name)
{
    return Load(name).has_value();
}

RegDataType TRegistry::GetDataType(std::string_view name)
{
    const std::optional<StoredValue> v = Load(name);
    return v ? v->type : RegDataType::None;
}

std::string TRegistry::ReadString(std::string_view name)
{
    const std::optional<StoredValue> v = Load(name);
    if (!v)
        return {};
    if (v->type != RegDataType::String)
        throw RegistryError(RegistryErrorKind::WrongKind, Shown(name), currentPath);
    return std::string(v->bytes.begin(), v->bytes.end());
}

std::int32_t TRegistry::ReadInteger(std::string_view name)
{
    return std::int32_t(LoadAs(name, RegDataType::Integer).number);
}

bool TRegistry::ReadBool(std::string_view name)
{
    return ReadInteger(name) != 0;
}

double TRegistry::ReadFloat(std::string_view name)
{
    const StoredValue v = LoadAs(name, RegDataType::Binary);
    if (v.bytes.size() != 8)
        throw RegistryError(RegistryErrorKind::WrongKind, Shown(name), currentPath);
    return BytesToDouble(v.bytes);
}

std::vector<std::uint8_t> TRegistry::ReadBinaryData(std::string_view name)
{
    return LoadAs(name, RegDataType::Binary).bytes;
}

void TRegistry::Store(std::string_view name, RegDataType type, const StoredValue& value)
{
    EnsureWrite(name);
    const std::string shown = Shown(name);
    RegistryWriteScope scope(*db, transactionDepth > 0);
    RegistryStatement put(*db, "INSERT INTO vals(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?)"
                               " ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    put.Bind(1, CurrentId()).Bind(2, std::string(name)).Bind(3, FoldName(name)).Bind(4, std::int64_t(type));
    if (type == RegDataType::Integer)
        put.Bind(5, value.number);
    else if (type == RegDataType::String)
        put.Bind(5, std::string(value.bytes.begin(), value.bytes.end()));
    else
        put.BindBlob(5, value.bytes);
    put.Run(RegistryErrorKind::WriteFailed, shown);
    scope.Commit();
}

void TRegistry::WriteString(std::string_view name, std::string_view value)
{
    StoredValue v;
    v.bytes.assign(value.begin(), value.end());
    Store(name, RegDataType::String, v);
}

void TRegistry::WriteInteger(std::string_view name, std::int32_t value)
{
    StoredValue v;
    v.number = value;
    Store(name, RegDataType::Integer, v);
}

void TRegistry::WriteBool(std::string_view name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteFloat(std::string_view name, double value)
{
    StoredValue v;
    v.bytes = DoubleToBytes(value);
    Store(name, RegDataType::Binary, v);
}

void TRegistry::WriteBinaryData(std::string_view name, const std::vector<std::uint8_t>& value)
{
    StoredValue v;
    v.bytes = value;
    Store(name, RegDataType::Binary, v);
}

bool TRegistry::DeleteValue(std::string_view name)
{
    if (!ValueExists(name))
        return false;
    EnsureWrite(name);
    RegistryWriteScope scope(*db, transactionDepth > 0);
    RegistryStatement erase(*db, "DELETE FROM vals WHERE key = ? AND folded = ?");
    erase.Bind(1, CurrentId()).Bind(2, FoldName(name)).Run(RegistryErrorKind::WriteFailed, Shown(name));
    const bool removed = db->Changes() > 0;
    scope.Commit();
    return removed;
}

RegistryTransaction::RegistryTransaction(TRegistry& registry) : registry(registry)
{
    registry.db->OpenForWrite();
    if (registry.transactionDepth == 0)
        registry.db->Begin();
    ++registry.transactionDepth;
}

RegistryTransaction::~RegistryTransaction()
{
    if (done)
        return;
    if (--registry.transactionDepth == 0)
        registry.db->Rollback();
}

void RegistryTransaction::Commit()
{
    if (done)
        return;
    done = true;
    if (--registry.transactionDepth == 0)
        registry.db->Commit();
}

} // namespace platform
