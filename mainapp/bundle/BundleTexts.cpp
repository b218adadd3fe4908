#include "bundle/BundleTexts.h"

#include <vector>

namespace deskwarden::bundle {
namespace {

constexpr std::size_t kHeadCharacters = 3;
constexpr std::size_t kTailCharacters = 54;

/** Byte offsets at which each UTF-8 character begins (continuation bytes do not begin one). */
std::vector<std::size_t> CharacterStarts(const std::string& text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            starts.push_back(i);
        }
    }
    return starts;
}

} // namespace

std::string StatusLine(const std::string& fileName, const std::string& status)
{
    const std::string line = fileName + " " + status;
    const auto starts = CharacterStarts(line);
    if (starts.size() <= kStatusLineLimit) {
        return line;
    }
    return line.substr(0, starts[kHeadCharacters]) + "..." + line.substr(starts[starts.size() - kTailCharacters]);
}

} // namespace deskwarden::bundle
