#pragma once

#include <string>

// The one place where the stores reach the encryption wrapper: every stored secret (user records,
// voice-slot IDs and certificate keys, secure-settings entries, the by-pass key) is enciphered under
// the process key, as upper-case hex text.
namespace talk::store_cipher {

/** The hex text of `plain` enciphered under the process key; "" when enciphering fails. */
std::string Encipher(const std::string& plain);

/** The plain text of `hexText` under the process key; "" for a damaged text or another key. */
std::string Decipher(const std::string& hexText);

} // namespace talk::store_cipher
