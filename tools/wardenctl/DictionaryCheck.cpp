#include "DictionaryCheck.h"

#include "ByteOrder.h"
#include "StoreCipher.h"
#include "UserDicFormat.h"
#include "VoiceDicLayout.h"

namespace layout = talk::voice_dic_layout;

namespace wardenctl {

bool IsSoundUserDictionary(const std::string& bytes, std::string& problem)
{
    const auto decoded = talk::user_dic_format::Decode(bytes);
    if (!decoded.complete) {
        problem = "the file ends inside a record after " + std::to_string(decoded.texts.size()) + " records";
        return false;
    }
    for (std::size_t i = 0; i < decoded.texts.size(); ++i) {
        if (talk::store_cipher::Decipher(decoded.texts[i]).empty()) {
            problem = "record " + std::to_string(i + 1) + " does not decipher under the process key";
            return false;
        }
    }
    return true;
}

bool IsSoundVoiceDictionary(const std::string& bytes, std::string& problem)
{
    if (bytes.size() % layout::kSlotSize != 0) {
        problem = "the length is not a whole number of 125000-byte slots";
        return false;
    }
    for (std::uint64_t slot = 0; slot < layout::SlotCount(bytes.size()); ++slot) {
        const std::size_t start = static_cast<std::size_t>(slot * layout::kSlotSize);
        const layout::SlotHeader header
            = layout::DecodeHeader(std::string_view(bytes).substr(start, layout::kHeaderSize));
        if (!header.inUse) {
            continue;
        }
        const bool sectionsFit = [&] {
            for (std::size_t s = 0; s < layout::kSectionCount; ++s) {
                if (talk::ReadLe32(bytes.data() + start + layout::SectionOffset(s)) > layout::kSectionCapacity) {
                    return false;
                }
            }
            return true;
        }();
        if (!header.intact || !sectionsFit || talk::store_cipher::Decipher(header.idText).empty()) {
            problem = "slot " + std::to_string(slot) + " is damaged";
            return false;
        }
    }
    return true;
}

} // namespace wardenctl
