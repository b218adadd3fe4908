#include "StringCipher.h"

#include "ContainerFormat.h"

#include <cryptopp/filters.h>
#include <cryptopp/hex.h>
#include <cryptopp/misc.h>

namespace cipherwell {
namespace {

void Wipe(std::string& text)
{
    CryptoPP::SecureWipeBuffer(text.data(), text.size());
    text.clear();
}

} // namespace

std::string EncryptText(std::string_view text, std::string_view passPhrase)
{
    std::string hex;
    constexpr bool kUpperCase = true;
    const auto encryptor
        = MakeEncryptor(passPhrase, new CryptoPP::HexEncoder(new CryptoPP::StringSink(hex), kUpperCase));
    encryptor->Put(reinterpret_cast<const CryptoPP::byte*>(text.data()), text.size());
    encryptor->MessageEnd();
    return hex;
}

std::optional<std::string> DecryptText(std::string_view hexText, std::string_view passPhrase)
{
    std::string plain;
    auto* decryptor = MakeDecryptor(passPhrase, new CryptoPP::StringSink(plain)).release();
    // The hex decoder skips every character outside the hex digits of either case.
    CryptoPP::HexDecoder decoder(decryptor);
    decoder.Put(reinterpret_cast<const CryptoPP::byte*>(hexText.data()), hexText.size());
    if (EndMessage(decoder, *decryptor) != DecryptionState::CheckValueGood) {
        Wipe(plain);
        return std::nullopt;
    }
    return plain;
}

} // namespace cipherwell
