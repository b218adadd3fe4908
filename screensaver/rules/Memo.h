#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace screenveil {

/** A message a passer-by left at the lock. Kept in memory only, unless the user saves the list. */
struct Memo
{
    std::string time; // "yy-mm-dd hh:mm:ss"
    std::string name; // "..." when none was given
    std::string text;
};

/** The clock text of a memo: two digits each for year, month, day, hour, minute and second. */
std::string MemoTimeText(const std::tm& local);

/** The name under which a memo is listed: the one given, or "..." when it is empty. */
std::string MemoName(const std::string& given);

/** The memo left with `text` and `name` at `local`; nothing when the text is empty (nothing to leave). */
std::optional<Memo> MakeMemo(const std::string& text, const std::string& name, const std::tm& local);

/** Every memo as "[time] From : name\ntext\n\n", in the order left. */
std::string MemoFileText(const std::vector<Memo>& memos);

/** Splits a text into its lines at "\r\n" (a lone '\n' counts too, as typed on this system). */
std::vector<std::string> TextLines(const std::string& text);

} // namespace screenveil
