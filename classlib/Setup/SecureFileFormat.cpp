#include "Setup/SecureFileFormat.h"

#include "ByteOrder.h"
#include "NumberText.h"

namespace talk::secure_file_format {

std::optional<EntrySpan> FindEntry(std::string_view bytes, std::size_t index)
{
    std::size_t offset = 0;
    for (std::size_t i = 0;; ++i) {
        if (bytes.size() - offset < 4) {
            return std::nullopt;
        }
        const std::size_t size = ReadLe32(bytes.data() + offset);
        if (size > bytes.size() - offset - 4) {
            return std::nullopt;
        }
        if (i == index) {
            return EntrySpan {offset, size};
        }
        offset += 4 + size;
    }
}

std::optional<std::string> EntryText(std::string_view bytes, std::size_t index)
{
    const auto entry = FindEntry(bytes, index);
    if (!entry) {
        return std::nullopt;
    }
    return std::string(bytes.substr(entry->offset + 4, entry->size));
}

std::string EncodeEntry(std::string_view text)
{
    std::string bytes;
    AppendLe32(bytes, static_cast<std::uint32_t>(text.size()));
    bytes += text;
    return bytes;
}

std::string NewFile(std::string_view settingsCipher)
{
    return EncodeEntry(settingsCipher) + EncodeEntry({}) + EncodeEntry({});
}

std::string WithSettingsEntry(std::string_view bytes, std::string_view settingsCipher)
{
    std::string result = EncodeEntry(settingsCipher);
    if (bytes.size() > result.size()) {
        result += bytes.substr(result.size());
    }
    return result;
}

std::optional<std::string> WithBypassEntry(std::string_view bytes, std::string_view keyCipher)
{
    const auto installRecord = FindEntry(bytes, 1);
    if (!installRecord) {
        return std::nullopt;
    }
    std::string result(bytes.substr(0, installRecord->End()));
    result += EncodeEntry(keyCipher);
    if (const auto oldKey = FindEntry(bytes, 2)) {
        result += bytes.substr(oldKey->End());
    }
    return result;
}

std::string FormatSettings(const SettingsDigits& digits)
{
    std::string text;
    for (const int digit : digits) {
        text += std::to_string(digit);
    }
    return text;
}

SettingsDigits ParseSettings(std::string_view text)
{
    SettingsDigits digits {};
    for (std::size_t i = 0; i < digits.size() && i < text.size(); ++i) {
        digits[i] = DigitValue(text[i]);
    }
    return digits;
}

} // namespace talk::secure_file_format
