#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The byte layout of the voice dictionary: an array of fixed 125000-byte slots, one per user, each
// with an in-use flag, the enciphered ID and certificate key, and six sections of one model file each.
namespace talk::voice_dic_layout {

inline constexpr std::uint64_t kSlotSize = 125000;
inline constexpr std::uint64_t kFlagOffset = 0;
inline constexpr std::uint64_t kIdLengthOffset = 4;
inline constexpr std::uint64_t kIdTextOffset = 8;
inline constexpr std::uint32_t kIdTextMax = 176;
inline constexpr std::uint64_t kCertiLengthOffset = 184;
inline constexpr std::uint64_t kCertiTextOffset = 188;
inline constexpr std::uint32_t kCertiTextMax = 240;
/** Bytes from the slot start to the first section: flag, ID field and certificate-key field. */
inline constexpr std::uint64_t kHeaderSize = 428;
inline constexpr std::uint64_t kSectionStride = 20659;
/** Largest model file one section holds. */
inline constexpr std::uint32_t kSectionCapacity = 20655;
inline constexpr std::size_t kSectionCount = 6;
inline constexpr std::array<std::string_view, kSectionCount> kSectionNames = {"aaj", "abj", "acj", "adj", "aej", "afj"};

/** Index 0 to 5 of the section named `name` (ASCII case ignored); -1 for any other name. */
int SectionIndex(std::string_view name) noexcept;

/** Offset of section `index`'s length field from the slot start. */
constexpr std::uint64_t SectionOffset(std::size_t index) noexcept
{
    return kHeaderSize + index * kSectionStride;
}

/** File offset of section `name` of slot `slot`; 0 for a name that is none of the six. */
std::uint64_t NickPos(std::string_view name, std::uint64_t slot) noexcept;

/** Number of whole slots in a file of `fileLength` bytes; a partial trailing slot is not counted. */
constexpr std::uint64_t SlotCount(std::uint64_t fileLength) noexcept
{
    return fileLength / kSlotSize;
}

/** What the first kHeaderSize bytes of a slot say about its user. */
struct SlotHeader
{
    bool inUse = false;
    bool intact = false; // both lengths within their fields; when false the texts are empty
    std::string idText; // enciphered ID, as stored
    std::string certiText; // enciphered certificate key, as stored
};

/** Reads a slot header; `header` must be kHeaderSize bytes, else the result is not intact and not in use. */
SlotHeader DecodeHeader(std::string_view header);

/**
 * Builds the kHeaderSize bytes of an in-use slot holding the two enciphered texts, zero-padded.
 * @return false (leaving `header` empty) when a text does not fit its field.
 */
[[nodiscard]] bool EncodeHeader(std::string_view idText, std::string_view certiText, std::string& header);

} // namespace talk::voice_dic_layout
