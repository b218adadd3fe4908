#include "ContainerFormat.h"

namespace cipherwell {
namespace {

const CryptoPP::byte* AsBytes(std::string_view text)
{
    return reinterpret_cast<const CryptoPP::byte*>(text.data());
}

} // namespace

std::unique_ptr<Encryptor> MakeEncryptor(std::string_view passPhrase, CryptoPP::BufferedTransformation* attachment)
{
    return std::make_unique<Encryptor>(AsBytes(passPhrase), passPhrase.size(), attachment);
}

std::unique_ptr<Decryptor> MakeDecryptor(std::string_view passPhrase, CryptoPP::BufferedTransformation* attachment)
{
    // Failures are read from the state instead of thrown: a wrong key or a bad check value is an expected
    // outcome here, not an error.
    constexpr bool kThrowOnFailure = false;
    return std::make_unique<Decryptor>(AsBytes(passPhrase), passPhrase.size(), attachment, kThrowOnFailure);
}

DecryptionState KeyState(const Decryptor& decryptor)
{
    switch (decryptor.CurrentState()) {
    case CryptoPP::LegacyDecryptor::KEY_GOOD:
        return DecryptionState::KeyGood;
    case CryptoPP::LegacyDecryptor::KEY_BAD:
        return DecryptionState::KeyBad;
    default:
        return DecryptionState::WaitingForKeyCheck;
    }
}

DecryptionState EndMessage(CryptoPP::BufferedTransformation& head, Decryptor& decryptor)
{
    // Read before the end: ending the message resets the decryptor for the next one.
    const DecryptionState keyState = KeyState(decryptor);
    if (keyState != DecryptionState::KeyGood) {
        return keyState;
    }
    try {
        head.MessageEnd();
    } catch (const CryptoPP::Exception&) {
        return DecryptionState::CheckValueBad;
    }
    return decryptor.CheckLastMAC() ? DecryptionState::CheckValueGood : DecryptionState::CheckValueBad;
}

} // namespace cipherwell
