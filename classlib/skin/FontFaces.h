#pragma once

#include <string>

/** The installed face that stands for a face name of the Windows skins ("ＭＳ Ｐゴシック" is IPAPGothic). */
std::string MapFontFace(const std::string& face);
