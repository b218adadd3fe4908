#include "SkinFields.h"

#include "NumberText.h"

#include <cctype>
#include <climits>

namespace talk::skin_fields {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

std::string Trim(const std::string& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string GetFirstParam(std::string& list, const std::string& separator)
{
    size_t pos = separator.empty() ? std::string::npos : list.find(separator);
    if (pos == std::string::npos)
        return list;
    std::string first = list.substr(0, pos);
    list = Trim(list.substr(pos + separator.size()));
    return first;
}

// Numbers in skin.ini are read as atoi reads them; the class library has one such reader.
int ToInt(const std::string& text)
{
    return talk::LeadingInt(text);
}

SkinRect StringToRect(std::string& list)
{
    int x = ToInt(GetFirstParam(list, ","));
    int y = ToInt(GetFirstParam(list, ","));
    int width = ToInt(GetFirstParam(list, ","));
    int height = ToInt(GetFirstParam(list, ","));
    // Widened sums keep absurd sizes from wrapping round into negative edges.
    auto edge = [](int origin, int size) {
        long long sum = static_cast<long long>(origin) + size;
        return static_cast<int>(sum > INT_MAX ? INT_MAX : (sum < INT_MIN ? INT_MIN : sum));
    };
    return {x, y, edge(x, width), edge(y, height)};
}

SkinColor StringToColor(std::string& list)
{
    int r = ToInt(GetFirstParam(list, ","));
    int g = ToInt(GetFirstParam(list, ","));
    int b = ToInt(GetFirstParam(list, ","));
    return {r, g, b};
}

bool BeginsWith(const std::string& text, char letter)
{
    return !text.empty() && text[0] == letter;
}

} // namespace talk::skin_fields
