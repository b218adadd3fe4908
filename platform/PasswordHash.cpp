#include "PasswordHash.h"

#include <cryptopp/misc.h>
#include <cryptopp/osrng.h>
#include <cryptopp/pwdbased.h>
#include <cryptopp/sha.h>

namespace platform::accounts {

namespace {

std::vector<std::uint8_t> Derive(
    std::string_view password, const std::vector<std::uint8_t>& salt, std::uint32_t iterations)
{
    std::vector<std::uint8_t> derived(kHashSize);
    CryptoPP::PKCS5_PBKDF2_HMAC<CryptoPP::SHA256> kdf;
    kdf.DeriveKey(derived.data(), derived.size(), 0, reinterpret_cast<const CryptoPP::byte*>(password.data()),
        password.size(), salt.data(), salt.size(), iterations);
    return derived;
}

} // namespace

PasswordHash HashPassword(std::string_view password, std::uint32_t iterations)
{
    PasswordHash result;
    result.salt.resize(kSaltSize);
    CryptoPP::AutoSeededRandomPool random;
    random.GenerateBlock(result.salt.data(), result.salt.size());
    result.iterations = iterations;
    result.hash = Derive(password, result.salt, iterations);
    return result;
}

bool IsWellFormed(const PasswordHash& hash)
{
    return hash.salt.size() == kSaltSize && hash.hash.size() == kHashSize && hash.iterations >= kMinIterations
        && hash.iterations <= kMaxIterations;
}

bool VerifyPassword(std::string_view password, const PasswordHash& hash)
{
    if (!IsWellFormed(hash)) {
        return false;
    }
    const std::vector<std::uint8_t> derived = Derive(password, hash.salt, hash.iterations);
    return CryptoPP::VerifyBufsEqual(derived.data(), hash.hash.data(), kHashSize);
}

} // namespace platform::accounts
