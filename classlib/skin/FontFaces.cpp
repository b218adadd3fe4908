#include "FontFaces.h"

std::string MapFontFace(const std::string& face)
{
    if (face == "ＭＳ Ｐゴシック" || face == "MS PGothic" || face == "MS UI Gothic")
        return "IPAPGothic";
    if (face == "ＭＳ ゴシック" || face == "MS Gothic")
        return "IPAGothic";
    if (face == "MS Sans Serif" || face.empty())
        return "IPAPGothic";
    return face;
}
