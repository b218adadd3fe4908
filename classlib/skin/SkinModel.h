#pragma once

#include "SkinGeometry.h"

#include <string>
#include <vector>

struct SkinButtonDef
{
    std::string name;
    int id = 0;
    SkinRect rect;
    std::string tooltip;
    bool toggle = false;
};

struct SkinLabelDef
{
    std::string name;
    int id = 0;
    std::string face;
    bool bold = false;
    bool italic = false;
    int fontHeight = 0;
    SkinColor color;
    SkinRect rect;
    std::string text;
    std::string tooltip;
};

struct SkinSliderDef
{
    std::string name;
    int index = 0;
    std::string tooltip;
    SkinRect rect;
    bool horizontal = false;
};

/** Where the skin puts one of the dialog's entry controls. */
struct SkinPlaceDef
{
    bool present = false;
    SkinRect rect;
    std::string tooltip;
};

struct SkinWaveDef
{
    SkinRect rect;
    bool fill = true;
    SkinColor background {0, 0, 0};
    SkinColor line {0, 255, 0};
    SkinColor frame {255, 255, 255};
    int frameWidth = 1;
    bool dottedGrid = true;
};

/** Everything a skin.ini says, with the picture names resolved against the skin folder. */
struct SkinModel
{
    std::string folder;
    std::string mainPicture;
    std::string maskPicture;
    std::string overPicture;
    std::string downPicture;
    std::string disabledPicture;
    bool hint = true;
    bool labelTip = false;
    SkinWaveDef wave;
    std::vector<SkinButtonDef> buttons;
    /** Section "LABEL" in key order, then "LABEL_ID" and "LABEL_WORD". */
    std::vector<SkinLabelDef> labels;
    std::vector<SkinSliderDef> sliders;
    SkinPlaceDef editId;
    SkinPlaceDef comboWord;
};
