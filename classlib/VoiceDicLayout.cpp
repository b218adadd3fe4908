#include "VoiceDicLayout.h"

#include "ByteOrder.h"
#include <platform/AsciiCase.h>

namespace talk::voice_dic_layout {

int SectionIndex(std::string_view name) noexcept
{
    for (std::size_t i = 0; i < kSectionNames.size(); ++i) {
        if (platform::EqualsIgnoringAsciiCase(name, kSectionNames[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::uint64_t NickPos(std::string_view name, std::uint64_t slot) noexcept
{
    const int index = SectionIndex(name);
    if (index < 0) {
        return 0;
    }
    return slot * kSlotSize + SectionOffset(static_cast<std::size_t>(index));
}

SlotHeader DecodeHeader(std::string_view header)
{
    SlotHeader result;
    if (header.size() != kHeaderSize) {
        return result;
    }
    result.inUse = ReadLe32(header.data() + kFlagOffset) != 0;
    const std::uint32_t idLength = ReadLe32(header.data() + kIdLengthOffset);
    const std::uint32_t certiLength = ReadLe32(header.data() + kCertiLengthOffset);
    if (idLength > kIdTextMax || certiLength > kCertiTextMax) {
        return result;
    }
    result.intact = true;
    result.idText = std::string(header.substr(kIdTextOffset, idLength));
    result.certiText = std::string(header.substr(kCertiTextOffset, certiLength));
    return result;
}

bool EncodeHeader(std::string_view idText, std::string_view certiText, std::string& header)
{
    header.clear();
    if (idText.size() > kIdTextMax || certiText.size() > kCertiTextMax) {
        return false;
    }
    std::string bytes(kHeaderSize, '\0');
    WriteLe32(bytes.data() + kFlagOffset, 1);
    WriteLe32(bytes.data() + kIdLengthOffset, static_cast<std::uint32_t>(idText.size()));
    bytes.replace(kIdTextOffset, idText.size(), idText);
    WriteLe32(bytes.data() + kCertiLengthOffset, static_cast<std::uint32_t>(certiText.size()));
    bytes.replace(kCertiTextOffset, certiText.size(), certiText);
    header = std::move(bytes);
    return true;
}

} // namespace talk::voice_dic_layout
