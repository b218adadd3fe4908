#include "Setup/RegistryEx.h"

#include "MessageService.h"
#include "Setup/ArchiveLayout.h"

#include <platform/AsciiCase.h>
#include <platform/BoundaryGuard.h>

#include <cstdio>
#include <optional>
#include <type_traits>

using namespace platform;

namespace {

// Texts are read through a buffer of this size, terminator included.
constexpr DWORD kTextReadLimit = 200;
// Enumerated names of up to this many bytes are accepted.
constexpr DWORD kListNameLimit = 200;
constexpr const char* kSourceName = "Setup\\RegistryEx";
constexpr unsigned kListKeyLine = 998;
constexpr unsigned kListValuesLine = 1073;

bool IsPredefined(HKEY key)
{
    return key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE || key == HKEY_USERS;
}

std::vector<std::uint8_t> PlainBytes(const std::string& text, bool withTerminator)
{
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withTerminator) {
        bytes.push_back(0);
    }
    return bytes;
}

std::vector<std::uint32_t> RectElements(const RECT& rect)
{
    return {static_cast<std::uint32_t>(rect.top), static_cast<std::uint32_t>(rect.bottom),
        static_cast<std::uint32_t>(rect.left), static_cast<std::uint32_t>(rect.right), 0};
}

std::vector<std::uint32_t> PointElements(const POINT& point)
{
    return {static_cast<std::uint32_t>(point.x), static_cast<std::uint32_t>(point.y), 0, 0, 0};
}

} // namespace

CRegistryEx::CRegistryEx(HKEY root)
    : m_currentKey(root)
{
}

CRegistryEx::~CRegistryEx()
{
    Close();
}

int CRegistryEx::Record(LSTATUS result)
{
    m_lastResult = result;
    return result == ERROR_SUCCESS ? 1 : 0;
}

template<class Body> auto CRegistryEx::Guard(Body&& body) noexcept
{
    using Result = std::invoke_result_t<Body&>;
    return GuardedOr(body, [this] {
        Record(ERROR_NOT_ENOUGH_MEMORY);
        return Result {};
    });
}

void CRegistryEx::Close()
{
    if (m_currentKey != kNullKey && !IsPredefined(m_currentKey)) {
        RegCloseKey(m_currentKey);
    }
    m_currentKey = kNullKey;
}

int CRegistryEx::ReplaceCurrentKey(HKEY root, const std::string& path, bool create)
{
    HKEY opened = kNullKey;
    const LSTATUS status = create ? RegCreateKeyEx(root, path, KEY_ALL_ACCESS, &opened, nullptr)
                                  : RegOpenKeyEx(root, path, KEY_ALL_ACCESS, &opened);
    if (status != ERROR_SUCCESS) {
        return Record(status);
    }
    // The new key is open before the old one is closed, since the old one may be the parent it was opened from.
    Close();
    m_currentKey = opened;
    return Record(ERROR_SUCCESS);
}

int CRegistryEx::VerifyKey(HKEY root, const std::string& path)
{
    return Guard([&] { return ReplaceCurrentKey(root, path, false); });
}

int CRegistryEx::VerifyKey(const std::string& path)
{
    return Guard([&] { return ReplaceCurrentKey(m_currentKey, path, false); });
}

int CRegistryEx::CreateKey(HKEY root, const std::string& path)
{
    return Guard([&] { return ReplaceCurrentKey(root, path, true); });
}

int CRegistryEx::Open(HKEY root, const std::string& path)
{
    return Guard([&] {
        m_openedPath = path;
        return ReplaceCurrentKey(root, path, false);
    });
}

int CRegistryEx::VerifyValue(const std::string& name)
{
    return Guard([&] {
        DWORD type = REG_NONE;
        DWORD size = 0;
        const LSTATUS status = RegQueryValueEx(m_currentKey, name, &type, nullptr, &size);
        if (status == ERROR_SUCCESS) {
            m_lastType = type;
            m_lastSize = size;
        }
        return Record(status);
    });
}

int CRegistryEx::WriteValue(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data)
{
    m_lastType = type;
    m_lastSize = static_cast<DWORD>(data.size());
    if (data.size() > kMaxValueDataSize) {
        return Record(ERROR_INVALID_PARAMETER);
    }
    return Record(RegSetValueEx(m_currentKey, name, type, data.data(), static_cast<DWORD>(data.size())));
}

int CRegistryEx::Write(const std::string& name, int value)
{
    return Guard([&] { return Write(name, static_cast<unsigned long>(static_cast<std::uint32_t>(value))); });
}

int CRegistryEx::Write(const std::string& name, unsigned long value)
{
    return Guard([&] {
        if (value > 0xFFFFFFFFul) {
            return Record(ERROR_INVALID_PARAMETER);
        }
        const auto dword = static_cast<std::uint32_t>(value);
        const std::vector<std::uint8_t> data {static_cast<std::uint8_t>(dword), static_cast<std::uint8_t>(dword >> 8),
            static_cast<std::uint8_t>(dword >> 16), static_cast<std::uint8_t>(dword >> 24)};
        return WriteValue(name, REG_DWORD, data);
    });
}

int CRegistryEx::Write(const std::string& name, const std::string& text)
{
    return Guard([&] { return WriteValue(name, REG_SZ, PlainBytes(text, true)); });
}

int CRegistryEx::Write(const std::string& name, const char* text)
{
    return Guard([&] { return Write(name, std::string(text != nullptr ? text : "")); });
}

int CRegistryEx::Write(const std::string& name, const std::list<std::string>& textList)
{
    return Guard([&] {
        return WriteValue(
            name, REG_BINARY, talk::archive::StoreTexts(std::vector<std::string>(textList.begin(), textList.end())));
    });
}

int CRegistryEx::Write(const std::string& name, const std::vector<std::string>& textArray)
{
    return Guard([&] { return WriteValue(name, REG_BINARY, talk::archive::StoreTexts(textArray)); });
}

int CRegistryEx::Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    return Guard([&] { return WriteValue(name, REG_BINARY, talk::archive::StoreBytes(bytes)); });
}

int CRegistryEx::Write(const std::string& name, const std::vector<std::uint16_t>& words)
{
    return Guard([&] { return WriteValue(name, REG_BINARY, talk::archive::StoreWords(words)); });
}

int CRegistryEx::Write(const std::string& name, const std::vector<std::uint32_t>& dwords)
{
    return Guard([&] { return WriteValue(name, REG_BINARY, talk::archive::StoreDwords(dwords)); });
}

int CRegistryEx::Write(const std::string& name, const RECT& rect)
{
    return Guard([&] { return Write(name, RectElements(rect)); });
}

int CRegistryEx::Write(const std::string& name, const POINT& point)
{
    return Guard([&] { return Write(name, PointElements(point)); });
}

int CRegistryEx::ReadValue(const std::string& name, std::vector<std::uint8_t>& data, DWORD maxSize)
{
    data.assign(maxSize, 0);
    DWORD type = REG_NONE;
    DWORD size = maxSize;
    const LSTATUS status = RegQueryValueEx(m_currentKey, name, &type, data.data(), &size);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        m_lastType = type;
        m_lastSize = size;
    }
    if (status != ERROR_SUCCESS) {
        data.clear();
        return Record(status);
    }
    data.resize(size);
    return Record(ERROR_SUCCESS);
}

int CRegistryEx::ReadBinaryValue(const std::string& name, std::vector<std::uint8_t>& data)
{
    // A collection value is read whole, whatever its size, so that everything Write stores can be read back.
    DWORD size = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const LSTATUS probe = RegQueryValueEx(m_currentKey, name, nullptr, nullptr, &size);
        if (probe != ERROR_SUCCESS) {
            return Record(probe);
        }
        if (ReadValue(name, data, size) == 1 || m_lastResult != ERROR_MORE_DATA) {
            break;
        }
    }
    if (m_lastResult != ERROR_SUCCESS) {
        return 0;
    }
    return m_lastType == REG_BINARY ? 1 : Record(ERROR_INVALID_DATA);
}

int CRegistryEx::Read(const std::string& name, int& value)
{
    return Guard([&] {
        std::vector<std::uint8_t> data;
        if (!ReadValue(name, data, 4)) {
            return 0;
        }
        if (data.size() != 4 || (m_lastType != REG_DWORD && m_lastType != REG_BINARY)) {
            return Record(ERROR_INVALID_DATA);
        }
        value = static_cast<int>(static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8)
            | (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24));
        return 1;
    });
}

int CRegistryEx::Read(const std::string& name, std::uint8_t* buffer, DWORD size)
{
    return Guard([&] {
        if (buffer == nullptr && size > 0) {
            return Record(ERROR_INVALID_PARAMETER);
        }
        DWORD type = REG_NONE;
        DWORD actual = size;
        const LSTATUS status = RegQueryValueEx(m_currentKey, name, &type, buffer, &actual);
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            m_lastType = type;
            m_lastSize = actual;
        }
        return Record(status);
    });
}

int CRegistryEx::Read(const std::string& name, std::string& text)
{
    return Guard([&] {
        std::vector<std::uint8_t> data;
        if (!ReadValue(name, data, kTextReadLimit)) {
            return 0;
        }
        if (m_lastType != REG_SZ && m_lastType != REG_EXPAND_SZ) {
            return Record(ERROR_INVALID_DATA);
        }
        std::string value(data.begin(), data.end());
        text = value.substr(0, value.find('\0'));
        return 1;
    });
}

template<class Load, class Store> int CRegistryEx::ReadArchived(const std::string& name, Load load, Store store)
{
    return Guard([&] {
        std::vector<std::uint8_t> data;
        if (!ReadBinaryValue(name, data)) {
            return 0;
        }
        auto loaded = load(data);
        if (!loaded) {
            return Record(ERROR_INVALID_DATA);
        }
        store(*loaded);
        return 1;
    });
}

int CRegistryEx::Read(const std::string& name, std::list<std::string>& textList)
{
    return ReadArchived(name, talk::archive::LoadTexts,
        [&](std::vector<std::string>& texts) { textList.assign(texts.begin(), texts.end()); });
}

int CRegistryEx::Read(const std::string& name, std::vector<std::string>& textArray)
{
    return ReadArchived(
        name, talk::archive::LoadTexts, [&](std::vector<std::string>& texts) { textArray = std::move(texts); });
}

int CRegistryEx::Read(const std::string& name, std::vector<std::uint8_t>& bytes)
{
    return ReadArchived(
        name, talk::archive::LoadBytes, [&](std::vector<std::uint8_t>& loaded) { bytes = std::move(loaded); });
}

int CRegistryEx::Read(const std::string& name, std::vector<std::uint16_t>& words)
{
    return ReadArchived(
        name, talk::archive::LoadWords, [&](std::vector<std::uint16_t>& loaded) { words = std::move(loaded); });
}

int CRegistryEx::Read(const std::string& name, std::vector<std::uint32_t>& dwords)
{
    return ReadArchived(
        name, talk::archive::LoadDwords, [&](std::vector<std::uint32_t>& loaded) { dwords = std::move(loaded); });
}

int CRegistryEx::Read(const std::string& name, RECT& rect)
{
    return Guard([&] {
        std::vector<std::uint32_t> elements;
        if (!Read(name, elements)) {
            return 0;
        }
        if (elements.size() != 5) {
            return Record(ERROR_INVALID_DATA);
        }
        rect.top = static_cast<std::int32_t>(elements[0]);
        rect.bottom = static_cast<std::int32_t>(elements[1]);
        rect.left = static_cast<std::int32_t>(elements[2]);
        rect.right = static_cast<std::int32_t>(elements[3]);
        return 1;
    });
}

int CRegistryEx::Read(const std::string& name, POINT& point)
{
    return Guard([&] {
        std::vector<std::uint32_t> elements;
        if (!Read(name, elements)) {
            return 0;
        }
        if (elements.size() != 5) {
            return Record(ERROR_INVALID_DATA);
        }
        point.x = static_cast<std::int32_t>(elements[0]);
        point.y = static_cast<std::int32_t>(elements[1]);
        return 1;
    });
}

int CRegistryEx::DeleteValue(const std::string& name)
{
    return Guard([&] { return Record(RegDeleteValue(m_currentKey, name)); });
}

int CRegistryEx::DeleteValueKey(HKEY root, const std::string& path)
{
    return Guard([&] { return Record(RegDeleteKey(root, path)); });
}

int CRegistryEx::ListNames(const std::string& path, std::vector<std::string>& names, bool values)
{
    HKEY key = kNullKey;
    const LSTATUS opened = RegOpenKeyEx(m_currentKey, path, KEY_READ, &key);
    if (opened != ERROR_SUCCESS) {
        return Record(opened);
    }
    names.clear();
    LSTATUS status = ERROR_SUCCESS;
    for (DWORD index = 0;; ++index) {
        char name[kListNameLimit + 1] = {};
        DWORD size = sizeof(name);
        status = values ? RegEnumValue(key, index, name, &size, nullptr, nullptr, nullptr)
                        : RegEnumKeyEx(key, index, name, &size);
        if (status != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, size);
    }
    RegCloseKey(key);
    if (status == ERROR_NO_MORE_ITEMS) {
        return Record(ERROR_SUCCESS);
    }
    Record(status);
    ShowSysMsg(status, values ? "RegEnumValue" : "RegEnumKeyEx", kSourceName, values ? kListValuesLine : kListKeyLine);
    return 0;
}

int CRegistryEx::ListKey(const std::string& path, std::vector<std::string>& names)
{
    return Guard([&] { return ListNames(path, names, false); });
}

int CRegistryEx::ListValues(const std::string& path, std::vector<std::string>& names)
{
    return Guard([&] { return ListNames(path, names, true); });
}

std::string CRegistryEx::FindKey(const std::string& path, const std::string& name, const std::string& wanted)
{
    return Guard([&]() -> std::string {
        HKEY start = kNullKey;
        const LSTATUS opened = RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, KEY_READ, &start);
        if (opened != ERROR_SUCCESS) {
            Record(opened);
            return {};
        }
        m_lastResult = ERROR_SUCCESS;
        std::string found = FindKeyBelow(start, path, name, UpperAscii(wanted), 0);
        RegCloseKey(start);
        if (found.empty() && m_lastResult == ERROR_SUCCESS) {
            Record(ERROR_FILE_NOT_FOUND);
        }
        return found;
    });
}

std::string CRegistryEx::FindKeyBelow(
    HKEY parent, const std::string& path, const std::string& name, const std::string& wanted, std::size_t depth)
{
    if (depth >= kMaxKeyDepth) {
        return {};
    }
    for (DWORD index = 0;; ++index) {
        char subkey[kMaxKeyNameLength + 1] = {};
        DWORD size = sizeof(subkey);
        const LSTATUS status = RegEnumKeyEx(parent, index, subkey, &size);
        if (status != ERROR_SUCCESS) {
            if (status != ERROR_NO_MORE_ITEMS) {
                Record(status);
            }
            return {};
        }
        const std::string subkeyPath
            = path.empty() ? std::string(subkey, size) : path + "\\" + std::string(subkey, size);
        HKEY child = kNullKey;
        if (RegOpenKeyEx(parent, std::string_view(subkey, size), KEY_READ, &child) != ERROR_SUCCESS) {
            continue;
        }
        std::uint8_t text[kTextReadLimit] = {};
        DWORD textSize = sizeof(text);
        DWORD type = REG_NONE;
        const bool hasText = RegQueryValueEx(child, name, &type, text, &textSize) == ERROR_SUCCESS
            && (type == REG_SZ || type == REG_EXPAND_SZ);
        const std::string value(reinterpret_cast<const char*>(text), hasText ? textSize : 0);
        if (hasText && UpperAscii(value.substr(0, value.find('\0'))) == wanted) {
            RegCloseKey(child);
            return subkeyPath;
        }
        std::string found = FindKeyBelow(child, subkeyPath, name, wanted, depth + 1);
        RegCloseKey(child);
        if (!found.empty()) {
            return found;
        }
    }
}

void CRegistryEx::ShowSysMsg(LSTATUS code, const std::string& operation, const std::string& file, unsigned line)
{
    // A message that cannot even be formatted is dropped rather than thrown at the caller.
    GuardedCall([&] {
        const auto unsignedCode = static_cast<unsigned>(code);
        const std::string text
            = std::to_string(unsignedCode) + " " + operation + "\n" + file + " " + std::to_string(line);
        CMessageService::Report(SystemErrorText(code), text, MessageIcon::Information);
    });
}
