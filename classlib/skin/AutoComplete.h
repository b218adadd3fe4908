#pragma once

#include <string>
#include <vector>

/** What a combo's edit shows after auto-completion. */
struct AutoCompleteResult
{
    bool completed = false;
    std::string text;
    /** Selected tail [selectionStart, selectionEnd) in bytes; empty when nothing was completed. */
    size_t selectionStart = 0;
    size_t selectionEnd = 0;
};

/**
 * Completes `typed` with the first list entry that starts with it (ASCII letters compared without case).
 * No completion when nothing matches, when `typed` is empty, or when the edit got shorter (the user is
 * deleting: completing again would put back what he just removed).
 */
AutoCompleteResult AutoCompleteText(
    const std::vector<std::string>& entries, const std::string& typed, const std::string& previous);
