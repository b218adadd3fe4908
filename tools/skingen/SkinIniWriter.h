#pragma once

#include <string>

// The skin.ini of the default skin, built from the same layout as its pictures.
namespace skingen::skin_ini_writer {

std::string DefaultSkinIni();

} // namespace skingen::skin_ini_writer
