#pragma once

#include "TalkExport.h"

#include <platform/Registry.h>
#include <platform/WinTypes.h>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

/**
 * One open registry key and typed reads and writes of the values under it. Every operation returns 1 on
 * success and 0 on failure and records the registry's result code, the value type and the data size of its
 * last call, so that a caller can inspect a failure. Collections are stored as binary values in the archive
 * layout (little-endian counts and lengths, texts without terminator). Not copyable: it owns its key handle.
 * Nothing throws.
 */
class TALK_API CRegistryEx
{
public:
    using HKEY = platform::HKEY;

    /** The current key starts as `root`; nothing is opened. */
    explicit CRegistryEx(HKEY root = platform::HKEY_LOCAL_MACHINE);
    virtual ~CRegistryEx();

    CRegistryEx(const CRegistryEx&) = delete;
    CRegistryEx& operator=(const CRegistryEx&) = delete;

    /** Opens `path` under `root` with full access as the current key; 1 when it exists. */
    int VerifyKey(HKEY root, const std::string& path);
    /** Opens `path` under the current key and makes it the current key; 1 when it exists. */
    int VerifyKey(const std::string& path);
    /** 1 when the value `name` exists under the current key. */
    int VerifyValue(const std::string& name);
    /** Creates or opens `path` under `root` with full access as the current key. */
    int CreateKey(HKEY root, const std::string& path);
    /** Remembers `path` and opens it under `root` with full access as the current key. */
    int Open(HKEY root, const std::string& path);
    /** Closes the current key, if any; later value operations fail with ERROR_INVALID_HANDLE until one opens. */
    void Close();

    /** A 32-bit value (REG_DWORD). */
    int Write(const std::string& name, int value);
    /** A 32-bit value (REG_DWORD); a value above 0xFFFFFFFF is refused with ERROR_INVALID_PARAMETER. */
    int Write(const std::string& name, unsigned long value);
    /** A text value (REG_SZ) stored with its terminator. */
    int Write(const std::string& name, const std::string& text);
    int Write(const std::string& name, const char* text);
    /** Binary values in the collection layout. */
    int Write(const std::string& name, const std::list<std::string>& textList);
    int Write(const std::string& name, const std::vector<std::string>& textArray);
    int Write(const std::string& name, const std::vector<std::uint8_t>& bytes);
    int Write(const std::string& name, const std::vector<std::uint16_t>& words);
    int Write(const std::string& name, const std::vector<std::uint32_t>& dwords);
    /** A rectangle as the 32-bit array top, bottom, left, right, 0. */
    int Write(const std::string& name, const platform::RECT& rect);
    /** A point as the 32-bit array x, y, 0, 0, 0. */
    int Write(const std::string& name, const platform::POINT& point);

    /** A 32-bit value: REG_DWORD or REG_BINARY data of exactly 4 bytes; `value` is unchanged on failure. */
    int Read(const std::string& name, int& value);
    /** The raw value, at most `size` bytes, copied into `buffer` (ERROR_MORE_DATA when larger). */
    int Read(const std::string& name, std::uint8_t* buffer, platform::DWORD size);
    /**
     * A text value (REG_SZ or REG_EXPAND_SZ) of at most 200 bytes including its terminator; longer values and
     * other types fail and leave `text` unchanged. The text ends at its first zero byte.
     */
    int Read(const std::string& name, std::string& text);
    /**
     * A collection from a REG_BINARY value. The collection is replaced as a whole on success and left unchanged
     * on failure (wrong type, or a layout that does not fit the stored bytes: ERROR_INVALID_DATA).
     */
    int Read(const std::string& name, std::list<std::string>& textList);
    int Read(const std::string& name, std::vector<std::string>& textArray);
    int Read(const std::string& name, std::vector<std::uint8_t>& bytes);
    int Read(const std::string& name, std::vector<std::uint16_t>& words);
    int Read(const std::string& name, std::vector<std::uint32_t>& dwords);
    /** A rectangle or point from its five-element 32-bit array; other element counts fail (ERROR_INVALID_DATA). */
    int Read(const std::string& name, platform::RECT& rect);
    int Read(const std::string& name, platform::POINT& point);

    /** Deletes the value `name` under the current key. */
    int DeleteValue(const std::string& name);
    /** Deletes the key `path` under `root` (a key with subkeys is kept: ERROR_ACCESS_DENIED). */
    int DeleteValueKey(HKEY root, const std::string& path);

    /**
     * Empties `names` and fills it with the names of the subkeys of `path` (under the current key). An
     * enumeration error, such as a name longer than 200 bytes, stops the listing, is reported in a message box
     * and gives 0 with the names found so far.
     */
    int ListKey(const std::string& path, std::vector<std::string>& names);
    /** The same for the value names of `path`. */
    int ListValues(const std::string& path, std::vector<std::string>& names);

    /**
     * Searches HKEY_LOCAL_MACHINE depth-first below `path` for a key whose text value `name` equals `wanted`
     * without regard to ASCII case. @return "path\\sub\\..." of the first such key, or "".
     */
    std::string FindKey(const std::string& path, const std::string& name, const std::string& wanted);

    /**
     * Shows an information message box without owner: caption is the system's text for `code`, text is
     * "<code> <operation>\n<file> <line>".
     */
    void ShowSysMsg(platform::LSTATUS code, const std::string& operation, const std::string& file, unsigned line);

    platform::LSTATUS GetLastResult() const { return m_lastResult; }
    platform::DWORD GetLastType() const { return m_lastType; }
    platform::DWORD GetLastSize() const { return m_lastSize; }
    HKEY GetCurrentKey() const { return m_currentKey; }
    const std::string& GetOpenedPath() const { return m_openedPath; }

private:
    int Record(platform::LSTATUS result);
    // Runs a public method's body at the library boundary: a throw is recorded as ERROR_NOT_ENOUGH_MEMORY and
    // the method answers 0 or an empty text.
    template<class Body> auto Guard(Body&& body) noexcept;
    int ReplaceCurrentKey(HKEY root, const std::string& path, bool create);
    int WriteValue(const std::string& name, platform::DWORD type, const std::vector<std::uint8_t>& data);
    int ReadValue(const std::string& name, std::vector<std::uint8_t>& data, platform::DWORD maxSize);
    int ReadBinaryValue(const std::string& name, std::vector<std::uint8_t>& data);
    // Reads a binary value and decodes it with `load` (empty when the bytes do not fit the layout);
    // `store` receives the decoded value. Used by every collection reader.
    template<class Load, class Store> int ReadArchived(const std::string& name, Load load, Store store);
    int ListNames(const std::string& path, std::vector<std::string>& names, bool values);
    std::string FindKeyBelow(
        HKEY parent, const std::string& path, const std::string& name, const std::string& wanted, std::size_t depth);

    platform::LSTATUS m_lastResult = platform::ERROR_SUCCESS;
    platform::DWORD m_lastType = platform::REG_NONE;
    platform::DWORD m_lastSize = 0;
    HKEY m_currentKey;
    std::string m_openedPath;
};
