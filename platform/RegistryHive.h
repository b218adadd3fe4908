#pragma once

#include "SqliteDatabase.h"
#include "WinTypes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// One hive file: the keys and values of one registry root in SQLite. Keys are rows with their parent's id;
// ids are never reused, so a handle to a deleted key can tell that its key is gone. Every change runs in
// one write transaction. Rows are checked as they are read; a row that breaks the layout throws
// SqliteError(SQLITE_CORRUPT) like a damaged file does.
namespace platform::registry {

inline constexpr std::int64_t kRootKeyId = 0;

struct StoredValue
{
    std::string name;
    DWORD type = 0;
    std::vector<std::uint8_t> data;
};

class RegistryHive
{
public:
    /** Opens the hive file, creating the file and its layout when new. Throws SqliteError. */
    explicit RegistryHive(const std::filesystem::path& file);

    bool KeyExists(std::int64_t keyId);
    /** Follows `names` from `from`; ERROR_FILE_NOT_FOUND when one is missing. */
    LSTATUS Resolve(std::int64_t from, const std::vector<std::string>& names, std::int64_t& keyId);
    /** Follows `names` from `from`, creating what is missing, in one transaction. */
    LSTATUS Create(std::int64_t from, const std::vector<std::string>& names, std::int64_t& keyId, bool& created);
    /** Deletes a key without subkeys and its values; ERROR_ACCESS_DENIED when it has subkeys. */
    LSTATUS DeleteKey(std::int64_t keyId);

    std::optional<StoredValue> QueryValue(std::int64_t keyId, const std::string& name);
    /** Creates or replaces a value; ERROR_KEY_DELETED when the key is gone. */
    LSTATUS SetValue(std::int64_t keyId, const std::string& name, DWORD type, const std::uint8_t* data, DWORD size);
    /** ERROR_FILE_NOT_FOUND when there is no such value. */
    LSTATUS DeleteValue(std::int64_t keyId, const std::string& name);

    std::optional<std::string> SubkeyAt(std::int64_t keyId, DWORD index);
    std::optional<StoredValue> ValueAt(std::int64_t keyId, DWORD index);

private:
    std::optional<std::int64_t> FindChild(std::int64_t parent, const std::string& name);
    std::int64_t DepthOf(std::int64_t keyId);
    StoredValue ReadValueRow(sqlite::Statement& row, int firstColumn);
    sqlite::Database m_db;
};

} // namespace platform::registry
