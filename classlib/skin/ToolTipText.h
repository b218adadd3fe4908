#pragma once

#include "SkinGeometry.h"

#include <functional>
#include <string>

/** Line arithmetic of the hint tooltip's text. */
namespace talk::tool_tip_text {

/** Line feeds plus one; an empty text is one line. */
int GetNumberOfLines(const std::string& text);

/** Width of one line of text in pixels. */
using MeasureLine = std::function<int(const std::string& line)>;

/** {widest line, lineHeight x lines}; lines are split at line feeds. */
SkinPoint GetMultiLineTextExtent(const std::string& text, int lineHeight, const MeasureLine& measure);

} // namespace talk::tool_tip_text
