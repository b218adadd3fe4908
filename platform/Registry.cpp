#include "Registry.h"

#include "BoundaryGuard.h"
#include "RegistryHive.h"
#include "RegistryPath.h"
#include "SystemRoot.h"

#include <sqlite3.h>

#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>

namespace platform {

namespace {

using registry::RegistryHive;
using registry::StoredValue;

struct OpenKey
{
    std::filesystem::path file;
    std::int64_t keyId = registry::kRootKeyId;
    DWORD access = 0;
};

// Handles of this process. A key keeps the hive file it was opened in, so that a change of WARDEN_ROOT
// does not move an open key into another tree.
class HandleTable
{
public:
    HKEY Add(OpenKey key)
    {
        std::lock_guard lock(m_mutex);
        do {
            m_next = (m_next % kLastHandle) + 1;
        } while (m_keys.contains(m_next));
        m_keys.emplace(m_next, std::move(key));
        return HKEY {m_next};
    }

    bool Find(HKEY key, OpenKey& out)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_keys.find(static_cast<std::uint32_t>(key));
        if (it == m_keys.end()) {
            return false;
        }
        out = it->second;
        return true;
    }

    bool Remove(HKEY key)
    {
        std::lock_guard lock(m_mutex);
        return m_keys.erase(static_cast<std::uint32_t>(key)) > 0;
    }

private:
    // Handles stay below the predefined roots' numbers.
    static constexpr std::uint32_t kLastHandle = 0x7FFFFFFFu;
    std::mutex m_mutex;
    std::unordered_map<std::uint32_t, OpenKey> m_keys;
    std::uint32_t m_next = 0;
};

HandleTable& Handles()
{
    static HandleTable table;
    return table;
}

const char* PredefinedHiveName(HKEY key)
{
    if (key == HKEY_CURRENT_USER) {
        return "HKEY_CURRENT_USER";
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return "HKEY_LOCAL_MACHINE";
    }
    if (key == HKEY_USERS) {
        return "HKEY_USERS";
    }
    return nullptr;
}

LSTATUS LookUp(HKEY key, OpenKey& out)
{
    if (const char* hive = PredefinedHiveName(key)) {
        const std::filesystem::path folder = RegistryFolder();
        std::string error;
        if (!EnsureFolder(folder, error)) {
            return ERROR_CANTOPEN;
        }
        out.file = folder / (std::string(hive) + ".db");
        out.keyId = registry::kRootKeyId;
        out.access = KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    return Handles().Find(key, out) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

// Looks the key up and checks that its handle was opened with `right`.
LSTATUS LookUpWithAccess(HKEY key, DWORD right, OpenKey& out)
{
    const LSTATUS status = LookUp(key, out);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return (out.access & right) == 0 ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

LSTATUS MapSqliteCode(int code, bool writing)
{
    if (sqlite::IsDamagedDatabaseCode(code)) {
        return ERROR_BADDB;
    }
    switch (code & 0xFF) {
    case SQLITE_CANTOPEN:
        return ERROR_CANTOPEN;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return writing ? ERROR_CANTWRITE : ERROR_CANTREAD;
    }
}

// The status a failed hive operation reports, from the exception being handled: the database's own code where
// it gave one, otherwise a plain read or write failure.
LSTATUS StatusOfHiveFailure(bool writing) noexcept
{
    try {
        throw;
    } catch (const sqlite::SqliteError& e) {
        return MapSqliteCode(e.Code(), writing);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (...) {
        return writing ? ERROR_CANTWRITE : ERROR_CANTREAD;
    }
}

// Opens the hive of `key` for one operation. A connection lives for one call only: nothing is shared between
// threads, and a child process after fork() never reuses its parent's connection.
template<class Operation> LSTATUS WithHive(const OpenKey& key, bool writing, Operation&& operation) noexcept
{
    return GuardedOr(
        [&]() -> LSTATUS {
            RegistryHive hive(key.file);
            return operation(hive);
        },
        [writing] { return StatusOfHiveFailure(writing); });
}

// Copies a name with its terminator into a caller's buffer, Windows style.
LSTATUS CopyName(const std::string& name, char* buffer, DWORD* size)
{
    if (buffer == nullptr || size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (name.size() + 1 > *size) {
        *size = static_cast<DWORD>(name.size());
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, name.data(), name.size());
    buffer[name.size()] = '\0';
    *size = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Reports a value's type and size and copies its data when the buffer is large enough.
LSTATUS CopyValue(const StoredValue& value, DWORD* type, std::uint8_t* data, DWORD* size)
{
    if (type != nullptr) {
        *type = value.type;
    }
    if (size == nullptr) {
        return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    }
    const auto needed = static_cast<DWORD>(value.data.size());
    if (data != nullptr && needed > *size) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && needed > 0) {
        std::memcpy(data, value.data.data(), needed);
    }
    *size = needed;
    return ERROR_SUCCESS;
}

LSTATUS OpenOrCreate(HKEY key, std::string_view subKey, DWORD access, HKEY* result, DWORD* disposition, bool create)
{
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = kNullKey;
    std::vector<std::string> names;
    LSTATUS status = registry::SplitKeyPath(subKey, names);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    OpenKey parent;
    status = LookUp(key, parent);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (create && !names.empty() && (parent.access & KEY_CREATE_SUB_KEY) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    OpenKey opened {parent.file, registry::kRootKeyId, access};
    bool created = false;
    status = WithHive(parent, create, [&](RegistryHive& hive) {
        return create ? hive.Create(parent.keyId, names, opened.keyId, created)
                      : hive.Resolve(parent.keyId, names, opened.keyId);
    });
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (disposition != nullptr) {
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    *result = Handles().Add(std::move(opened));
    return ERROR_SUCCESS;
}

} // namespace

LSTATUS RegOpenKeyEx(HKEY key, std::string_view subKey, DWORD access, HKEY* result) noexcept
{
    return Guarded(ERROR_NOT_ENOUGH_MEMORY, [&] { return OpenOrCreate(key, subKey, access, result, nullptr, false); });
}

LSTATUS RegCreateKeyEx(HKEY key, std::string_view subKey, DWORD access, HKEY* result, DWORD* disposition) noexcept
{
    return Guarded(
        ERROR_NOT_ENOUGH_MEMORY, [&] { return OpenOrCreate(key, subKey, access, result, disposition, true); });
}

LSTATUS RegCloseKey(HKEY key) noexcept
{
    if (PredefinedHiveName(key) != nullptr) {
        return ERROR_SUCCESS;
    }
    return Handles().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueEx(HKEY key, std::string_view name, DWORD* type, std::uint8_t* data, DWORD* size) noexcept
{
    return Guarded(ERROR_NOT_ENOUGH_MEMORY, [&] {
        if (!registry::IsValidValueName(name)) {
            return ERROR_INVALID_PARAMETER;
        }
        OpenKey open;
        const LSTATUS status = LookUpWithAccess(key, KEY_QUERY_VALUE, open);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        return WithHive(open, false, [&](RegistryHive& hive) {
            if (!hive.KeyExists(open.keyId)) {
                return ERROR_KEY_DELETED;
            }
            const std::optional<StoredValue> value = hive.QueryValue(open.keyId, std::string(name));
            return value ? CopyValue(*value, type, data, size) : ERROR_FILE_NOT_FOUND;
        });
    });
}

LSTATUS RegSetValueEx(HKEY key, std::string_view name, DWORD type, const std::uint8_t* data, DWORD size) noexcept
{
    return Guarded(ERROR_NOT_ENOUGH_MEMORY, [&] {
        if (!registry::IsValidValueName(name) || size > kMaxValueDataSize || (data == nullptr && size > 0)) {
            return ERROR_INVALID_PARAMETER;
        }
        OpenKey open;
        const LSTATUS status = LookUpWithAccess(key, KEY_SET_VALUE, open);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        return WithHive(open, true,
            [&](RegistryHive& hive) { return hive.SetValue(open.keyId, std::string(name), type, data, size); });
    });
}

LSTATUS RegDeleteValue(HKEY key, std::string_view name) noexcept
{
    return Guarded(ERROR_NOT_ENOUGH_MEMORY, [&] {
        if (!registry::IsValidValueName(name)) {
            return ERROR_INVALID_PARAMETER;
        }
        OpenKey open;
        const LSTATUS status = LookUpWithAccess(key, KEY_SET_VALUE, open);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        return WithHive(
            open, true, [&](RegistryHive& hive) { return hive.DeleteValue(open.keyId, std::string(name)); });
    });
}

LSTATUS RegDeleteKey(HKEY key, std::string_view subKey) noexcept
{
    return Guarded(ERROR_NOT_ENOUGH_MEMORY, [&] {
        std::vector<std::string> names;
        LSTATUS status = registry::SplitKeyPath(subKey, names);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        OpenKey open;
        status = LookUp(key, open);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        return WithHive(open, true, [&](RegistryHive& hive) {
            std::int64_t target = registry::kRootKeyId;
            const LSTATUS found = hive.Resolve(open.keyId, names, target);
            return found == ERROR_SUCCESS ? hive.DeleteKey(target) : found;
        });
    });
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize) noexcept
{
    return Guarded(ERROR_NOT_ENOUGH_MEMORY, [&] {
        OpenKey open;
        const LSTATUS status = LookUpWithAccess(key, KEY_ENUMERATE_SUB_KEYS, open);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        return WithHive(open, false, [&](RegistryHive& hive) {
            if (!hive.KeyExists(open.keyId)) {
                return ERROR_KEY_DELETED;
            }
            const std::optional<std::string> subkey = hive.SubkeyAt(open.keyId, index);
            return subkey ? CopyName(*subkey, name, nameSize) : ERROR_NO_MORE_ITEMS;
        });
    });
}

LSTATUS RegEnumValue(
    HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type, std::uint8_t* data, DWORD* dataSize) noexcept
{
    return Guarded(ERROR_NOT_ENOUGH_MEMORY, [&] {
        OpenKey open;
        const LSTATUS status = LookUpWithAccess(key, KEY_QUERY_VALUE, open);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        return WithHive(open, false, [&](RegistryHive& hive) {
            if (!hive.KeyExists(open.keyId)) {
                return ERROR_KEY_DELETED;
            }
            const std::optional<StoredValue> value = hive.ValueAt(open.keyId, index);
            if (!value) {
                return ERROR_NO_MORE_ITEMS;
            }
            const LSTATUS named = CopyName(value->name, name, nameSize);
            const LSTATUS copied = CopyValue(*value, type, data, dataSize);
            return named != ERROR_SUCCESS ? named : copied;
        });
    });
}

std::string RegHiveFilePath(HKEY key) noexcept
{
    return Guarded(std::string(), [&]() -> std::string {
        OpenKey open;
        return LookUp(key, open) == ERROR_SUCCESS ? open.file.string() : std::string();
    });
}

} // namespace platform
