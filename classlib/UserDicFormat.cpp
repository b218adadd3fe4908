#include "UserDicFormat.h"

#include "ByteOrder.h"

#include <cstdint>
#include <limits>

namespace talk::user_dic_format {

Decoded Decode(std::string_view bytes)
{
    Decoded result;
    while (!bytes.empty()) {
        if (bytes.size() < 4) {
            result.complete = false;
            break;
        }
        const std::uint32_t length = ReadLe32(bytes.data());
        bytes.remove_prefix(4);
        if (length > bytes.size()) {
            result.complete = false;
            break;
        }
        result.texts.emplace_back(bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
    return result;
}

bool Encode(const std::vector<std::string>& texts, std::string& bytes)
{
    bytes.clear();
    std::string out;
    for (const std::string& text : texts) {
        if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
            return false;
        }
        AppendLe32(out, static_cast<std::uint32_t>(text.size()));
        out += text;
    }
    bytes = std::move(out);
    return true;
}

} // namespace talk::user_dic_format
