#pragma once

#include "rules/Memo.h"

#include <string>
#include <vector>

namespace screenveil {

/** Which colour and font a drawn line takes. */
enum class TextRole
{
    Comment,
    MemoText,
    MemoSigned, // "[time]  from: name"
};

struct PlacedLine
{
    std::string text;
    int x = 0;
    int y = 0; // top of the line
    TextRole role = TextRole::Comment;
};

/**
 * Where the comment and the messages go over a picture: the comment's lines from the top left corner
 * down, a gap, then each message's lines followed by its signature line and a gap of its own.
 */
std::vector<PlacedLine> LayOutTexts(const std::string& comment, const std::vector<Memo>& memos);

/** The signature line of a message: "[%s]  from: %s" with its time and name. */
std::string SignatureLine(const Memo& memo);

} // namespace screenveil
