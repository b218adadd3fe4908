#include "bundle/BundleHeader.h"

#include <algorithm>

namespace deskwarden::bundle {
namespace {

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameId(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool Matches(const AccessEntry& entry, const std::string& id, const std::string& key)
{
    return SameId(entry.id, id) && entry.key == key;
}

} // namespace

bool CheckAccess(
    const BundleHeader& header, const std::string& id, const std::string& key, const std::string& password) noexcept
{
    const HeaderValues& values = header.values;
    if (id.empty() || key.empty()) {
        return false;
    }
    if (!values.password.empty() && values.password != password) {
        return false;
    }
    const bool permitted = std::any_of(values.permitted.begin(), values.permitted.end(),
        [&](const AccessEntry& entry) { return Matches(entry, id, key); });
    return permitted || Matches(values.owner, id, key);
}

} // namespace deskwarden::bundle
