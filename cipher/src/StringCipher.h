#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cipherwell {

// The encrypted data of text as upper-case hexadecimal text.
[[nodiscard]] std::string EncryptText(std::string_view text, std::string_view passPhrase);

// The plain text of hexText (either case; other characters skipped), or nothing when the pass phrase is
// wrong, the text is damaged or truncated, or the check value fails.
[[nodiscard]] std::optional<std::string> DecryptText(std::string_view hexText, std::string_view passPhrase);

} // namespace cipherwell
