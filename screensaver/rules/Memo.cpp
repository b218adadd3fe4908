#include "rules/Memo.h"

#include <cstdio>

namespace screenveil {

std::string MemoTimeText(const std::tm& local)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d %02d:%02d:%02d", local.tm_year % 100, local.tm_mon + 1,
        local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string MemoName(const std::string& given)
{
    return given.empty() ? "..." : given;
}

std::optional<Memo> MakeMemo(const std::string& text, const std::string& name, const std::tm& local)
{
    if (text.empty())
        return std::nullopt;
    return Memo {MemoTimeText(local), MemoName(name), text};
}

std::string MemoFileText(const std::vector<Memo>& memos)
{
    std::string text;
    for (const Memo& memo : memos)
        text += "[" + memo.time + "] From : " + memo.name + "\n" + memo.text + "\n\n";
    return text;
}

std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace screenveil
