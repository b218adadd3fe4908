#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Salted password hashes for the account stand-in: PBKDF2 with HMAC-SHA-256, a random 16-byte salt per
// password, and the iteration count kept with the hash so that it can be raised later.
namespace platform::accounts {

inline constexpr std::size_t kSaltSize = 16;
inline constexpr std::size_t kHashSize = 32;
inline constexpr std::uint32_t kDefaultIterations = 20000;
inline constexpr std::uint32_t kMinIterations = 1000;
inline constexpr std::uint32_t kMaxIterations = 10000000;

struct PasswordHash
{
    std::vector<std::uint8_t> salt;
    std::vector<std::uint8_t> hash;
    std::uint32_t iterations = 0;
};

/** Hashes `password` under a fresh random salt. Throws std::exception when the system has no randomness. */
PasswordHash HashPassword(std::string_view password, std::uint32_t iterations = kDefaultIterations);

/** True when `hash` has the expected shape (salt and hash sizes, iteration range). */
bool IsWellFormed(const PasswordHash& hash);

/** True when `password` hashes to `hash`, compared in constant time; false for a malformed record. */
bool VerifyPassword(std::string_view password, const PasswordHash& hash);

} // namespace platform::accounts
