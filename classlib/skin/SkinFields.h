#pragma once

#include "SkinGeometry.h"

#include <string>

/**
 * The field rules of skin.ini values: fields separated by ",", each field after its separator taken with
 * the blanks around it removed, numbers read as the C library reads them (leading blanks, a sign, digits,
 * anything else ends the number; no digits reads 0).
 */
namespace talk::skin_fields {

/**
 * Returns the text before the first `separator` and removes it and the separator from `list`, trimming
 * what remains. Without the separator the whole `list` is returned and `list` stays as it is, so a list
 * that runs short repeats its last field.
 */
std::string GetFirstParam(std::string& list, const std::string& separator);

/** Consumes four fields x, y, width, height; right = x + width, bottom = y + height. */
SkinRect StringToRect(std::string& list);

/** Consumes three fields r, g, b. */
SkinColor StringToColor(std::string& list);

/** Integer reading in the manner of atoi, saturated at the int range instead of overflowing. */
int ToInt(const std::string& text);

/** Removes blanks (space, tab, line breaks) at both ends. */
std::string Trim(const std::string& text);

/** True when `text` begins with the letter `letter` (case-sensitive, as the skin format compares). */
bool BeginsWith(const std::string& text, char letter);

} // namespace talk::skin_fields
