#include "Crypto.h"

#include "ProcessKey.h"

#include <platform/BoundaryGuard.h>

namespace {

// The library reads zero-terminated texts: a zero byte inside would silently cut the text or key short.
bool HoldsZeroByte(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

// Takes over a library text: copies it and hands the buffer straight back to the library.
std::string AdoptLibraryText(char* text)
{
    if (text == nullptr) {
        return {};
    }
    // Without memory for the copy the text is lost, but the buffer still goes back.
    std::string copy = platform::Guarded(std::string(), [text] { return std::string(text); });
    DeleteStringMemory(text);
    return copy;
}

} // namespace

CCrypto::~CCrypto() = default;

std::string CCrypto::EncryptString(const std::string& text, const std::string& key) const
{
    if (HoldsZeroByte(text) || HoldsZeroByte(key)) {
        return {};
    }
    return AdoptLibraryText(EncryptStr(text.c_str(), key.c_str()));
}

std::string CCrypto::DecryptString(const std::string& hexText, const std::string& key) const
{
    if (HoldsZeroByte(key)) {
        return {};
    }
    return AdoptLibraryText(DecryptStr(hexText.c_str(), key.c_str()));
}

int CCrypto::EncryptFileA(const CipherWellTarget* window, std::int64_t tag, const std::string& sourcePath,
    const std::string& targetPath, const std::string& passPhrase, int* continueFlag, unsigned int intervalMs) const
{
    if (HoldsZeroByte(passPhrase)) {
        return 0;
    }
    return EncryptFileStream(
        window, tag, sourcePath.c_str(), targetPath.c_str(), passPhrase.c_str(), continueFlag, intervalMs);
}

int CCrypto::DecryptFileA(const CipherWellTarget* window, std::int64_t tag, const std::string& sourcePath,
    const std::string& targetPath, const std::string& passPhrase, int* continueFlag, unsigned int intervalMs) const
{
    if (HoldsZeroByte(passPhrase)) {
        return 0;
    }
    return DecryptFileStream(
        window, tag, sourcePath.c_str(), targetPath.c_str(), passPhrase.c_str(), continueFlag, intervalMs);
}

std::string CCrypto::GetProcessKey() noexcept
{
    return std::string(talk::ProcessKeyText());
}
