#include "rules/TextLayout.h"

namespace screenveil {

namespace {

constexpr int kMargin = 10;
constexpr int kLineStep = 18;
constexpr int kAfterComment = 10;
constexpr int kSignatureStep = 12;
constexpr int kAfterMemo = 14;

} // namespace

std::string SignatureLine(const Memo& memo)
{
    return "[" + memo.time + "]  from: " + memo.name;
}

std::vector<PlacedLine> LayOutTexts(const std::string& comment, const std::vector<Memo>& memos)
{
    std::vector<PlacedLine> lines;
    int y = kMargin;
    for (const std::string& line : TextLines(comment)) {
        lines.push_back(PlacedLine {line, kMargin, y, TextRole::Comment});
        y += kLineStep;
    }
    y += kAfterComment;
    for (const Memo& memo : memos) {
        for (const std::string& line : TextLines(memo.text)) {
            lines.push_back(PlacedLine {line, kMargin, y, TextRole::MemoText});
            y += kLineStep;
        }
        lines.push_back(PlacedLine {SignatureLine(memo), kMargin, y, TextRole::MemoSigned});
        y += kSignatureStep + kAfterMemo;
    }
    return lines;
}

} // namespace screenveil
