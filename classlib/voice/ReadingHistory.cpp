#include "voice/ReadingHistory.h"

#include "AtomicFile.h"
#include "FileLock.h"
#include "StoreCipher.h"
#include <platform/AsciiCase.h>

#include <algorithm>

namespace talk::voice {
namespace {

constexpr const char* kStoreName = "halvoxurh.dat";
constexpr const char* kEntryMagic = "URH1";
constexpr std::size_t kMaxField = 255;

// The cipher takes text without zero bytes, so the binary entry goes in as hex.
std::string ToHex(const std::string& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool FromHex(const std::string& text, std::string& bytes)
{
    if (text.size() % 2 != 0)
        return false;
    bytes.resize(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int hi = HexDigit(text[2 * i]);
        const int lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes[i] = static_cast<char>((hi << 4) | lo);
    }
    return true;
}

bool ReadField(const std::string& bytes, std::size_t& offset, std::string& field)
{
    if (offset >= bytes.size())
        return false;
    const std::size_t length = static_cast<unsigned char>(bytes[offset]);
    if (bytes.size() - offset - 1 < length)
        return false;
    field = bytes.substr(offset + 1, length);
    offset += 1 + length;
    return true;
}

} // namespace

ReadingHistory::ReadingHistory(std::string storePath)
    : m_path(std::move(storePath))
{
}

std::string ReadingHistory::PathBeside(const std::string& voiceDicPath)
{
    const std::size_t slash = voiceDicPath.rfind('/');
    return (slash == std::string::npos ? std::string() : voiceDicPath.substr(0, slash + 1)) + kStoreName;
}

std::vector<ReadingHistory::Entry> ReadingHistory::ReadEntries()
{
    m_damaged = false;
    std::vector<Entry> entries;
    std::string text;
    std::string error;
    if (!PathExists(m_path))
        return entries;
    if (!ReadWholeFile(m_path, text, error)) {
        m_damaged = true;
        return entries;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        Entry entry;
        entry.line = text.substr(start, end - start);
        start = end + 1;
        if (entry.line.empty())
            continue;
        std::string bytes;
        std::size_t offset = 4;
        bool good = FromHex(store_cipher::Decipher(entry.line), bytes) && bytes.compare(0, 4, kEntryMagic) == 0
            && ReadField(bytes, offset, entry.user) && ReadField(bytes, offset, entry.word) && offset < bytes.size();
        if (good) {
            const std::size_t n = static_cast<unsigned char>(bytes[offset]);
            ++offset;
            for (std::size_t i = 0; good && i < n; ++i) {
                ReadingFingerprint print;
                good = DecodeFingerprint(bytes, offset, print);
                entry.prints.push_back(std::move(print));
            }
            good = good && offset == bytes.size();
        }
        if (!good) {
            m_damaged = true;
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool ReadingHistory::WriteEntries(const std::vector<Entry>& entries)
{
    std::string text;
    for (const Entry& entry : entries) {
        if (!entry.line.empty()) {
            text += entry.line + "\n";
            continue;
        }
        std::string bytes = kEntryMagic;
        bytes.push_back(static_cast<char>(entry.user.size()));
        bytes += entry.user;
        bytes.push_back(static_cast<char>(entry.word.size()));
        bytes += entry.word;
        bytes.push_back(static_cast<char>(entry.prints.size()));
        for (const ReadingFingerprint& print : entry.prints)
            bytes += EncodeFingerprint(print);
        const std::string line = store_cipher::Encipher(ToHex(bytes));
        if (line.empty()) {
            m_error = "the reading history cannot be enciphered";
            return false;
        }
        text += line + "\n";
    }
    return ReplaceFileAtomically(m_path, text, m_error);
}

std::vector<ReadingFingerprint> ReadingHistory::Recall(const std::string& userId, const std::string& word) noexcept
{
    try {
        const FileLock lock(m_path, FileLock::Kind::Shared);
        const std::string user = platform::FoldAscii(userId);
        for (Entry& entry : ReadEntries())
            if (entry.user == user && entry.word == word)
                return std::move(entry.prints);
    } catch (...) {
        m_damaged = true;
    }
    return {};
}

bool ReadingHistory::Remember(
    const std::string& userId, const std::string& word, const std::vector<ReadingFingerprint>& prints) noexcept
{
    m_error.clear();
    try {
        const std::string user = platform::FoldAscii(userId);
        if (user.size() > kMaxField || word.size() > kMaxField) {
            m_error = "user ID or word too long for the reading history";
            return false;
        }
        const FileLock lock(m_path);
        if (!lock.IsHeld()) {
            m_error = lock.ErrorText();
            return false;
        }
        std::vector<Entry> entries = ReadEntries();
        auto it = std::find_if(
            entries.begin(), entries.end(), [&](const Entry& e) { return e.user == user && e.word == word; });
        if (it == entries.end()) {
            entries.push_back(Entry {user, word, {}, {}});
            it = entries.end() - 1;
        }
        for (const ReadingFingerprint& print : prints)
            if (!print.Empty() && print.level.size() <= 0xffff)
                it->prints.push_back(print);
        if (it->prints.size() > kKept)
            it->prints.erase(it->prints.begin(), it->prints.end() - static_cast<long>(kKept));
        it->line.clear();
        return WriteEntries(entries);
    } catch (...) {
        m_error = "out of memory";
        return false;
    }
}

bool ReadingHistory::Forget(const std::string& userId, const std::string& word) noexcept
{
    m_error.clear();
    try {
        const FileLock lock(m_path);
        if (!lock.IsHeld()) {
            m_error = lock.ErrorText();
            return false;
        }
        if (!PathExists(m_path))
            return true;
        const std::string user = platform::FoldAscii(userId);
        std::vector<Entry> entries = ReadEntries();
        const std::size_t before = entries.size();
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                          [&](const Entry& e) { return e.user == user && (word.empty() || e.word == word); }),
            entries.end());
        if (entries.size() == before && !m_damaged)
            return true;
        return WriteEntries(entries);
    } catch (...) {
        m_error = "out of memory";
        return false;
    }
}

} // namespace talk::voice
