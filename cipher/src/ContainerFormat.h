#pragma once

#include <cryptopp/default.h>

#include <cstddef>
#include <memory>
#include <string_view>

namespace cipherwell {

// The container is the DES-EDE2 / SHA-1 configuration of the pass-phrase encryptor with MAC; the "Default"
// configuration of current Crypto++ releases is a different (AES) format and cannot read our files.
using Encryptor = CryptoPP::LegacyEncryptorWithMAC;
using Decryptor = CryptoPP::LegacyDecryptorWithMAC;

// Files are streamed in pumps of this size, so memory use does not depend on the file's size.
inline constexpr std::size_t kPumpSize = 1024;
// Decryption reads this much before deciding on the key check: salt and key check need only 16 bytes.
inline constexpr std::size_t kKeyCheckReadSize = 256;

enum class DecryptionState : int
{
    WaitingForKeyCheck = 0,
    KeyGood = 1,
    KeyBad = 2,
    CheckValueGood = 3,
    CheckValueBad = 4
};

// Both take ownership of attachment. The pass phrase is taken as raw bytes with its length, so that bytes
// after an embedded NUL still count.
[[nodiscard]] std::unique_ptr<Encryptor> MakeEncryptor(
    std::string_view passPhrase, CryptoPP::BufferedTransformation* attachment);
[[nodiscard]] std::unique_ptr<Decryptor> MakeDecryptor(
    std::string_view passPhrase, CryptoPP::BufferedTransformation* attachment);

// The decryptor's own state: waiting, key good or key bad. It starts over once a message has ended.
[[nodiscard]] DecryptionState KeyState(const Decryptor& decryptor);

// Ends the message at the head of a chain that feeds decryptor and returns the final state. The decryptor
// reports no check-value states of its own, so a good key turns into check value good or bad here. A
// message that ends badly (length not a whole number of blocks, bad padding) makes the cipher throw even
// though the decryptor was told not to; that is a bad check value too.
[[nodiscard]] DecryptionState EndMessage(CryptoPP::BufferedTransformation& head, Decryptor& decryptor);

} // namespace cipherwell
