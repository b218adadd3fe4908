#include "AutoComplete.h"

#include <platform/AsciiCase.h>

namespace {

bool StartsWithFolded(const std::string& entry, const std::string& prefix)
{
    if (entry.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (platform::FoldAsciiChar(entry[i]) != platform::FoldAsciiChar(prefix[i]))
            return false;
    }
    return true;
}

} // namespace

AutoCompleteResult AutoCompleteText(
    const std::vector<std::string>& entries, const std::string& typed, const std::string& previous)
{
    AutoCompleteResult result;
    result.text = typed;
    result.selectionStart = result.selectionEnd = typed.size();
    if (typed.empty() || typed.size() < previous.size())
        return result;
    for (const std::string& entry : entries) {
        if (StartsWithFolded(entry, typed)) {
            result.completed = true;
            result.text = entry;
            result.selectionStart = typed.size();
            result.selectionEnd = entry.size();
            return result;
        }
    }
    return result;
}
