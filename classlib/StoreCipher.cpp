#include "StoreCipher.h"

#include "Crypto.h"

namespace talk::store_cipher {

std::string Encipher(const std::string& plain)
{
    return CCrypto().EncryptString(plain, CCrypto::GetProcessKey());
}

std::string Decipher(const std::string& hexText)
{
    if (hexText.empty()) {
        return {};
    }
    return CCrypto().DecryptString(hexText, CCrypto::GetProcessKey());
}

} // namespace talk::store_cipher
