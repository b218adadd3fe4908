#pragma once

#include "voice/ReadingFingerprint.h"

#include <string>
#include <vector>

namespace talk::voice {

/**
 * The fingerprints of the readings each user's words were last accepted with (and enrolled with), kept so
 * that a recording of one of them can be refused. One file beside the voice dictionary, private to the
 * installation's owner: every line holds one user's word, enciphered under the process key like the
 * voice data, so neither IDs nor words show on disk. Changes hold the store's exclusive lock from reading
 * to writing and replace the file atomically; reads hold the shared lock.
 *
 * A missing, unreadable or damaged store (or line) counts as empty: the check must never lock a user out,
 * and the next change writes the store anew without the damaged lines. Nothing throws.
 */
class ReadingHistory
{
public:
    /** Readings kept per user and word; older ones make room for new ones. */
    static constexpr std::size_t kKept = 50;

    explicit ReadingHistory(std::string storePath);

    /** The store that belongs beside the voice dictionary at `voiceDicPath` (same folder). */
    static std::string PathBeside(const std::string& voiceDicPath);

    /** The kept fingerprints of the user's word, oldest first. ASCII case of the ID does not matter. */
    std::vector<ReadingFingerprint> Recall(const std::string& userId, const std::string& word) noexcept;

    /** Adds fingerprints to the user's word, dropping the oldest beyond kKept. @return false when not written. */
    bool Remember(
        const std::string& userId, const std::string& word, const std::vector<ReadingFingerprint>& prints) noexcept;

    /** Forgets the user's word, or all his words when `word` is empty. @return false when not written. */
    bool Forget(const std::string& userId, const std::string& word = {}) noexcept;

    /** True when the last read found the store or some line of it damaged (and treated it as empty). */
    bool FoundDamage() const noexcept { return m_damaged; }
    /** Why the last change failed; "" when it did not. Never holds a secret. */
    const std::string& ErrorText() const noexcept { return m_error; }

private:
    struct Entry
    {
        std::string user;
        std::string word;
        std::vector<ReadingFingerprint> prints;
        std::string line; // as read, so that untouched entries are written back unchanged
    };

    std::vector<Entry> ReadEntries();
    bool WriteEntries(const std::vector<Entry>& entries);

    std::string m_path;
    bool m_damaged = false;
    std::string m_error;
};

} // namespace talk::voice
