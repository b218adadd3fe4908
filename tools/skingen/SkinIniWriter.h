#pragma once

#include <string>

// The skin.ini of the default skin, built from the same layout as its pictures.
namespace SkinIniWriter {

std::string DefaultSkinIni();

} // namespace SkinIniWriter
