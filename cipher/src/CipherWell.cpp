#include "CipherWell.h"

#include "FileCipher.h"
#include "StringCipher.h"

#include <platform/BoundaryGuard.h>

#include <cryptopp/misc.h>

#include <cstring>
#include <optional>
#include <string_view>

namespace {

using platform::Guarded;

// Texts handed to callers are plain new[] buffers, released only by DeleteStringMemory, so that the
// caller's allocator never meets ours.
char* CopyToTextBuffer(std::string_view text)
{
    char* buffer = new char[text.size() + 1];
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return buffer;
}

bool AnyNull(const char* first, const char* second, const char* third = "")
{
    return first == nullptr || second == nullptr || third == nullptr;
}

cipherwell::FileJob MakeJob(const CipherWellTarget* window, int64_t tag, const char* sourcePath, const char* targetPath,
    const char* passPhrase, int* continueFlag, unsigned int intervalMs)
{
    cipherwell::FileJob job;
    job.window = window;
    job.tag = tag;
    job.source = sourcePath;
    job.target = targetPath;
    job.passPhrase = passPhrase;
    job.continueFlag = continueFlag;
    job.intervalMs = intervalMs;
    return job;
}

} // namespace

extern "C" {

int EncryptFileStream(const CipherWellTarget* window, int64_t tag, const char* sourcePath, const char* targetPath,
    const char* passPhrase, int* continueFlag, unsigned int intervalMs) noexcept
{
    return Guarded(0, [&] {
        if (AnyNull(sourcePath, targetPath, passPhrase)) {
            return 0;
        }
        return cipherwell::EncryptFile(
            MakeJob(window, tag, sourcePath, targetPath, passPhrase, continueFlag, intervalMs));
    });
}

int DecryptFileStream(const CipherWellTarget* window, int64_t tag, const char* sourcePath, const char* targetPath,
    const char* passPhrase, int* continueFlag, unsigned int intervalMs) noexcept
{
    return Guarded(0, [&] {
        if (AnyNull(sourcePath, targetPath, passPhrase)) {
            return 0;
        }
        return cipherwell::DecryptFile(
            MakeJob(window, tag, sourcePath, targetPath, passPhrase, continueFlag, intervalMs));
    });
}

char* EncryptStr(const char* text, const char* passPhrase) noexcept
{
    return Guarded<char*>(nullptr, [&]() -> char* {
        return AnyNull(text, passPhrase) ? nullptr : CopyToTextBuffer(cipherwell::EncryptText(text, passPhrase));
    });
}

char* DecryptStr(const char* hexText, const char* passPhrase) noexcept
{
    return Guarded<char*>(nullptr, [&]() -> char* {
        if (AnyNull(hexText, passPhrase)) {
            return nullptr;
        }
        std::optional<std::string> plain = cipherwell::DecryptText(hexText, passPhrase);
        if (!plain) {
            return nullptr;
        }
        char* buffer = CopyToTextBuffer(*plain);
        CryptoPP::SecureWipeBuffer(plain->data(), plain->size());
        return buffer;
    });
}

void DeleteStringMemory(char* text) noexcept
{
    if (text == nullptr) {
        return;
    }
    // Decrypted texts are secrets; they leave no copy in freed memory.
    CryptoPP::SecureWipeBuffer(text, std::strlen(text));
    delete[] text;
}

} // extern "C"
