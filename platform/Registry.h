#pragma once

#include "WinTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

// The registry stand-in. Each hive is one SQLite database below `<root>/registry/`; keys are paths of
// names separated by '\\' and compared without regard to ASCII case; values keep the Windows types and
// the functions return Windows error codes. Every change is one transaction, so several processes may
// use a hive at once: each write either happens whole or not at all, and none is lost.
//
// Handles are process-local and may be used from several threads. Nothing here throws.
namespace platform {

/** A registry key handle; the predefined roots below are always open and need no closing. */
enum class HKEY : std::uint32_t
{
};

inline constexpr HKEY kNullKey = HKEY {0};
inline constexpr HKEY HKEY_CURRENT_USER = HKEY {0x80000001u};
inline constexpr HKEY HKEY_LOCAL_MACHINE = HKEY {0x80000002u};
inline constexpr HKEY HKEY_USERS = HKEY {0x80000003u};

// Value types, numbered as Windows numbers them.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;

// Access rights. A handle opened with KEY_READ only refuses changes with ERROR_ACCESS_DENIED.
inline constexpr DWORD KEY_QUERY_VALUE = 0x0001;
inline constexpr DWORD KEY_SET_VALUE = 0x0002;
inline constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr DWORD KEY_WRITE = 0x20006;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

// Dispositions reported by RegCreateKeyEx.
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Limits, as Windows sets them.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;
inline constexpr std::size_t kMaxKeyDepth = 512;
inline constexpr DWORD kMaxValueDataSize = 1024 * 1024;

/**
 * Opens an existing key.
 * @param key an open key or a predefined root.
 * @param subKey path below `key` ("a\\b\\c"); empty opens `key` itself again. One trailing '\\' is accepted.
 * @param access access rights (KEY_READ, KEY_ALL_ACCESS, ...).
 * @param result receives the new handle; set to kNullKey on failure. Close it with RegCloseKey.
 * @return ERROR_SUCCESS; ERROR_FILE_NOT_FOUND when a key of the path is missing; ERROR_INVALID_HANDLE;
 *         ERROR_BAD_PATHNAME / ERROR_INVALID_PARAMETER for a malformed path; ERROR_BADDB for a damaged hive;
 *         ERROR_CANTOPEN when the hive cannot be opened (no system root, unreadable file).
 */
LSTATUS RegOpenKeyEx(HKEY key, std::string_view subKey, DWORD access, HKEY* result) noexcept;

/**
 * Opens a key, creating it and every missing key above it in one transaction.
 * @param disposition optional; receives REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
 * @return as RegOpenKeyEx, plus ERROR_ACCESS_DENIED when `key` was opened without KEY_CREATE_SUB_KEY or the
 *         hive file is read-only, ERROR_CANTWRITE when the transaction cannot be committed.
 */
LSTATUS RegCreateKeyEx(HKEY key, std::string_view subKey, DWORD access, HKEY* result, DWORD* disposition) noexcept;

/** Closes a handle. Closing a predefined root succeeds and does nothing; an unknown handle gives ERROR_INVALID_HANDLE.
 */
LSTATUS RegCloseKey(HKEY key) noexcept;

/**
 * Reads a value.
 * @param name value name; empty names the key's default value.
 * @param type optional; receives the value type.
 * @param data optional; receives the data when `*size` is large enough.
 * @param size in: capacity of `data` in bytes; out: the value's size. Required when `data` is given.
 * @return ERROR_SUCCESS; ERROR_FILE_NOT_FOUND; ERROR_MORE_DATA when `data` is too small (`*size` then tells the
 *         size needed and `data` is untouched); ERROR_KEY_DELETED when another handle deleted the key.
 */
LSTATUS RegQueryValueEx(HKEY key, std::string_view name, DWORD* type, std::uint8_t* data, DWORD* size) noexcept;

/**
 * Writes (creates or replaces) a value in one transaction.
 * @param data `size` bytes, stored as given (a text value includes its terminator when the caller gives it).
 * @return ERROR_SUCCESS; ERROR_INVALID_PARAMETER for a name or size over the limits or null data with a size;
 *         ERROR_ACCESS_DENIED; ERROR_KEY_DELETED; ERROR_CANTWRITE.
 */
LSTATUS RegSetValueEx(HKEY key, std::string_view name, DWORD type, const std::uint8_t* data, DWORD size) noexcept;

/** Deletes a value. @return ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ... */
LSTATUS RegDeleteValue(HKEY key, std::string_view name) noexcept;

/**
 * Deletes the key `subKey` below `key` with its values. As on Windows NT, a key that still has subkeys is not
 * deleted (ERROR_ACCESS_DENIED). Handles still open on the deleted key answer ERROR_KEY_DELETED from then on.
 */
LSTATUS RegDeleteKey(HKEY key, std::string_view subKey) noexcept;

/**
 * Names the subkey at `index` (0-based, in ascending case-folded order).
 * @param name receives the name and its terminator.
 * @param nameSize in: capacity of `name` in bytes including the terminator; out: the name's length without it.
 * @return ERROR_SUCCESS; ERROR_NO_MORE_ITEMS past the last subkey; ERROR_MORE_DATA when `name` is too small.
 */
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize) noexcept;

/**
 * Names the value at `index` (0-based, in the order the values were first written), optionally with its data.
 * @param name, nameSize as RegEnumKeyEx.
 * @param type, data, dataSize optional, as RegQueryValueEx.
 * @return ERROR_SUCCESS; ERROR_NO_MORE_ITEMS; ERROR_MORE_DATA when the name or data buffer is too small.
 */
LSTATUS RegEnumValue(
    HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type, std::uint8_t* data, DWORD* dataSize) noexcept;

/** The readable path of the hive file that a root or open key lives in; empty for an unknown handle. */
std::string RegHiveFilePath(HKEY key) noexcept;

/**
 * The system's text for an error code, as the Windows message table words it (without a trailing line break),
 * for the codes the stand-ins return; "Unknown error <code>." for any other.
 */
std::string SystemErrorText(LSTATUS code);

} // namespace platform
