#pragma once

#include "TalkExport.h"

#include <CipherWell.h>

#include <cstdint>
#include <string>

/**
 * The programs' only way to the encryption library: owned texts instead of library buffers, file
 * encryption passed through, and the process key. Holds no data; copyable; nothing throws.
 * Safe on any thread.
 */
class TALK_API CCrypto
{
public:
    CCrypto() = default;
    CCrypto(const CCrypto&) = default;
    CCrypto& operator=(const CCrypto&) = default;
    virtual ~CCrypto();

    /**
     * The upper-case hex text of `text` encrypted under `key`.
     * "" when text or key holds a zero byte (the library takes zero-terminated texts, so the rest would be
     * lost without notice) or when the library fails.
     */
    std::string EncryptString(const std::string& text, const std::string& key) const;

    /**
     * The plain text of `hexText` under `key`; "" for a wrong key, a damaged text, a key holding a zero
     * byte, and also for a text that decrypts to nothing (callers that must tell these apart may not store
     * empty texts).
     */
    std::string DecryptString(const std::string& hexText, const std::string& key) const;

    /** EncryptFileStream with the same arguments and result (see CipherWell.h); 0 for a key with a zero byte. */
    int EncryptFileA(const CipherWellTarget* window, std::int64_t tag, const std::string& sourcePath,
        const std::string& targetPath, const std::string& passPhrase, int* continueFlag, unsigned int intervalMs) const;

    /** DecryptFileStream with the same arguments and result (see CipherWell.h); 0 for a key with a zero byte. */
    int DecryptFileA(const CipherWellTarget* window, std::int64_t tag, const std::string& sourcePath,
        const std::string& targetPath, const std::string& passPhrase, int* continueFlag, unsigned int intervalMs) const;

    /**
     * The process key: all 1003 characters of the suite's fixed Base64 pass phrase. Out of memory it ends
     * the process rather than hand out a wrong key.
     */
    static std::string GetProcessKey() noexcept;
};
