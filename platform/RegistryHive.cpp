#include "RegistryHive.h"

#include "AsciiCase.h"
#include "Registry.h"
#include "RegistryPath.h"

#include <sqlite3.h>

namespace platform::registry {

namespace {

using sqlite::SqliteError;
using sqlite::Statement;
using sqlite::WriteTransaction;

// Marks a file as a hive of ours ("WREG"), so that another program's database is not taken for one.
constexpr std::int64_t kHiveApplicationId = 0x57524547;
constexpr std::int64_t kHiveLayoutVersion = 1;

// Another process may hold the write lock for a whole transaction; wait well beyond any single one.
constexpr int kBusyTimeoutMs = 15000;

constexpr const char* kLayout = R"sql(
CREATE TABLE keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    depth INTEGER NOT NULL,
    UNIQUE(parent, folded));
CREATE TABLE vals(
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
PRAGMA application_id = 1465009479;
PRAGMA user_version = 1;
)sql";

static_assert(kHiveApplicationId == 1465009479, "the layout text repeats the application id");

[[noreturn]] void Damaged()
{
    throw SqliteError(SQLITE_CORRUPT, "the hive holds a row that breaks its layout");
}

} // namespace

RegistryHive::RegistryHive(const std::filesystem::path& file)
    : m_db(file, kBusyTimeoutMs)
{
    sqlite::EnsureLayout(m_db, kHiveApplicationId, kHiveLayoutVersion, kLayout, nullptr);
    m_db.UseWriteAheadLog();
}

bool RegistryHive::KeyExists(std::int64_t keyId)
{
    if (keyId == kRootKeyId) {
        return true;
    }
    Statement query(m_db, "SELECT 1 FROM keys WHERE id = ?");
    return query.Bind(1, keyId).Step();
}

std::optional<std::int64_t> RegistryHive::FindChild(std::int64_t parent, const std::string& name)
{
    Statement query(m_db, "SELECT id FROM keys WHERE parent = ? AND folded = ?");
    query.Bind(1, parent).Bind(2, FoldAscii(name));
    if (!query.Step()) {
        return std::nullopt;
    }
    if (!query.IsInteger(0) || query.Integer(0) <= kRootKeyId) {
        Damaged();
    }
    return query.Integer(0);
}

std::int64_t RegistryHive::DepthOf(std::int64_t keyId)
{
    if (keyId == kRootKeyId) {
        return 0;
    }
    Statement query(m_db, "SELECT depth FROM keys WHERE id = ?");
    if (!query.Bind(1, keyId).Step()) {
        return -1;
    }
    const std::int64_t depth = query.Integer(0);
    if (!query.IsInteger(0) || depth < 1 || depth > static_cast<std::int64_t>(kMaxKeyDepth)) {
        Damaged();
    }
    return depth;
}

LSTATUS RegistryHive::Resolve(std::int64_t from, const std::vector<std::string>& names, std::int64_t& keyId)
{
    if (!KeyExists(from)) {
        return ERROR_KEY_DELETED;
    }
    std::int64_t current = from;
    for (const std::string& name : names) {
        const std::optional<std::int64_t> child = FindChild(current, name);
        if (!child) {
            return ERROR_FILE_NOT_FOUND;
        }
        current = *child;
    }
    keyId = current;
    return ERROR_SUCCESS;
}

LSTATUS RegistryHive::Create(
    std::int64_t from, const std::vector<std::string>& names, std::int64_t& keyId, bool& created)
{
    WriteTransaction transaction(m_db);
    created = false;
    std::int64_t depth = DepthOf(from);
    if (depth < 0) {
        return ERROR_KEY_DELETED;
    }
    if (depth + static_cast<std::int64_t>(names.size()) > static_cast<std::int64_t>(kMaxKeyDepth)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::int64_t current = from;
    for (const std::string& name : names) {
        ++depth;
        if (const std::optional<std::int64_t> child = FindChild(current, name)) {
            current = *child;
            continue;
        }
        Statement insert(m_db, "INSERT INTO keys(parent, name, folded, depth) VALUES(?, ?, ?, ?)");
        insert.Bind(1, current).Bind(2, name).Bind(3, FoldAscii(name)).Bind(4, depth).Run();
        current = sqlite3_last_insert_rowid(m_db.Handle());
        created = true;
    }
    transaction.Commit();
    keyId = current;
    return ERROR_SUCCESS;
}

LSTATUS RegistryHive::DeleteKey(std::int64_t keyId)
{
    if (keyId == kRootKeyId) {
        return ERROR_ACCESS_DENIED;
    }
    WriteTransaction transaction(m_db);
    if (!KeyExists(keyId)) {
        return ERROR_KEY_DELETED;
    }
    Statement children(m_db, "SELECT 1 FROM keys WHERE parent = ? LIMIT 1");
    if (children.Bind(1, keyId).Step()) {
        return ERROR_ACCESS_DENIED;
    }
    Statement(m_db, "DELETE FROM vals WHERE key = ?").Bind(1, keyId).Run();
    Statement(m_db, "DELETE FROM keys WHERE id = ?").Bind(1, keyId).Run();
    transaction.Commit();
    return ERROR_SUCCESS;
}

StoredValue RegistryHive::ReadValueRow(sqlite::Statement& row, int firstColumn)
{
    const int nameColumn = firstColumn;
    const int typeColumn = firstColumn + 1;
    const int dataColumn = firstColumn + 2;
    if (!row.IsText(nameColumn) || !row.IsInteger(typeColumn) || !row.IsBlob(dataColumn)) {
        Damaged();
    }
    const std::int64_t type = row.Integer(typeColumn);
    if (type < 0 || type > 0xFFFFFFFFLL || row.Bytes(dataColumn) > kMaxValueDataSize) {
        Damaged();
    }
    StoredValue value;
    value.name = row.Text(nameColumn);
    if (!IsValidValueName(value.name)) {
        Damaged();
    }
    value.type = static_cast<DWORD>(type);
    value.data = row.Blob(dataColumn);
    return value;
}

std::optional<StoredValue> RegistryHive::QueryValue(std::int64_t keyId, const std::string& name)
{
    Statement query(m_db, "SELECT name, type, data FROM vals WHERE key = ? AND folded = ?");
    query.Bind(1, keyId).Bind(2, FoldAscii(name));
    if (!query.Step()) {
        return std::nullopt;
    }
    return ReadValueRow(query, 0);
}

LSTATUS RegistryHive::SetValue(
    std::int64_t keyId, const std::string& name, DWORD type, const std::uint8_t* data, DWORD size)
{
    WriteTransaction transaction(m_db);
    if (!KeyExists(keyId)) {
        return ERROR_KEY_DELETED;
    }
    // An existing value keeps its name as first written and its place in the enumeration order.
    Statement upsert(m_db,
        "INSERT INTO vals(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?) "
        "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    upsert.Bind(1, keyId).Bind(2, name).Bind(3, FoldAscii(name)).Bind(4, static_cast<std::int64_t>(type));
    upsert.BindBlob(5, data, size).Run();
    transaction.Commit();
    return ERROR_SUCCESS;
}

LSTATUS RegistryHive::DeleteValue(std::int64_t keyId, const std::string& name)
{
    WriteTransaction transaction(m_db);
    if (!KeyExists(keyId)) {
        return ERROR_KEY_DELETED;
    }
    Statement remove(m_db, "DELETE FROM vals WHERE key = ? AND folded = ?");
    remove.Bind(1, keyId).Bind(2, FoldAscii(name)).Run();
    if (sqlite3_changes(m_db.Handle()) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    transaction.Commit();
    return ERROR_SUCCESS;
}

std::optional<std::string> RegistryHive::SubkeyAt(std::int64_t keyId, DWORD index)
{
    Statement query(m_db, "SELECT name FROM keys WHERE parent = ? ORDER BY folded LIMIT 1 OFFSET ?");
    query.Bind(1, keyId).Bind(2, static_cast<std::int64_t>(index));
    if (!query.Step()) {
        return std::nullopt;
    }
    std::string name = query.IsText(0) ? query.Text(0) : std::string();
    if (name.empty() || name.size() > kMaxKeyNameLength || name.find('\\') != std::string::npos) {
        Damaged();
    }
    return name;
}

std::optional<StoredValue> RegistryHive::ValueAt(std::int64_t keyId, DWORD index)
{
    Statement query(m_db, "SELECT name, type, data FROM vals WHERE key = ? ORDER BY rowid LIMIT 1 OFFSET ?");
    query.Bind(1, keyId).Bind(2, static_cast<std::int64_t>(index));
    if (!query.Step()) {
        return std::nullopt;
    }
    return ReadValueRow(query, 0);
}

} // namespace platform::registry
