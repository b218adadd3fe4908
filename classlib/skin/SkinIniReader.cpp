#include "SkinIniReader.h"

#include "IniFile.h"
#include "SkinFields.h"
#include "SkinItemIds.h"

#include <vector>

using talk::skin_fields::BeginsWith;
using talk::skin_fields::GetFirstParam;

std::string IniSkinProfile::Read(const std::string& section, const std::string& key, const std::string& fallback) const
{
    return m_file.ReadString(section, key, fallback);
}

int IniSkinProfile::KeyCount(const std::string& section) const
{
    std::vector<std::string> keys;
    m_file.ReadSection(section, keys);
    return static_cast<int>(keys.size());
}

namespace talk::skin_ini_reader {

namespace {

constexpr const char* kSep = ",";

// Skins written on Windows name pictures with backslashes.
std::string PicturePath(const std::string& folder, std::string name)
{
    for (char& c : name) {
        if (c == '\\')
            c = '/';
    }
    return folder + name;
}

// Flags compare the exact text: "true" in lower case is not "TRUE".
bool IsTrue(const std::string& text)
{
    return text == "TRUE";
}
bool IsFalse(const std::string& text)
{
    return text == "FALSE";
}

// Numbered sections are read by number from 1 up to their key count; a gap hides the keys past it.
template<class Parse> void ReadNumbered(const SkinProfile& profile, const char* section, Parse&& parse)
{
    int count = profile.KeyCount(section);
    for (int key = 1; key <= count; ++key) {
        std::string value = profile.Read(section, std::to_string(key), "");
        if (!value.empty())
            parse(value);
    }
}

SkinLabelDef ParseLabelFields(std::string name, std::string value)
{
    SkinLabelDef label;
    label.name = std::move(name);
    label.id = talk::skin_item_ids::IdOfName(label.name);
    label.face = GetFirstParam(value, kSep);
    label.bold = BeginsWith(GetFirstParam(value, kSep), 'T');
    // Skins are written for this reading of the italic field: "F..." makes the font italic.
    label.italic = BeginsWith(GetFirstParam(value, kSep), 'F');
    label.fontHeight = talk::skin_fields::ToInt(GetFirstParam(value, kSep));
    label.color = talk::skin_fields::StringToColor(value);
    label.rect = talk::skin_fields::StringToRect(value);
    label.text = GetFirstParam(value, kSep);
    label.tooltip = GetFirstParam(value, kSep);
    return label;
}

void ReadWave(const SkinProfile& profile, SkinWaveDef& wave)
{
    std::string rect = profile.Read("WAVE", "RECT", "");
    wave.rect = rect.empty() ? SkinRect {} : talk::skin_fields::StringToRect(rect);
    wave.fill = IsTrue(profile.Read("WAVE", "DRAW", "TRUE"));
    std::string background = profile.Read("WAVE", "BACKGROUND", "0,0,0");
    wave.background = talk::skin_fields::StringToColor(background);
    std::string line = profile.Read("WAVE", "LINE", "0,255,0");
    wave.line = talk::skin_fields::StringToColor(line);
    std::string frame = profile.Read("WAVE", "CENTER", "255,255,255");
    wave.frame = talk::skin_fields::StringToColor(frame);
    wave.frameWidth = talk::skin_fields::ToInt(profile.Read("WAVE", "WIDTH", "1"));
    wave.dottedGrid = !IsFalse(profile.Read("WAVE", "DOTLINE", "TRUE"));
}

} // namespace

SkinLabelDef ParseLabel(std::string value)
{
    std::string name = GetFirstParam(value, kSep);
    return ParseLabelFields(std::move(name), std::move(value));
}

SkinButtonDef ParseButton(std::string value)
{
    SkinButtonDef button;
    button.name = GetFirstParam(value, kSep);
    button.id = talk::skin_item_ids::IdOfName(button.name);
    button.rect = talk::skin_fields::StringToRect(value);
    button.tooltip = GetFirstParam(value, kSep);
    button.toggle = BeginsWith(GetFirstParam(value, kSep), 'T');
    return button;
}

SkinSliderDef ParseSlider(std::string value, int index)
{
    SkinSliderDef slider;
    slider.index = index;
    slider.name = GetFirstParam(value, kSep);
    slider.tooltip = GetFirstParam(value, kSep);
    slider.rect = talk::skin_fields::StringToRect(value);
    slider.horizontal = BeginsWith(GetFirstParam(value, kSep), 'H');
    return slider;
}

SkinPlaceDef ParsePlace(std::string value)
{
    SkinPlaceDef place;
    if (value.empty())
        return place;
    place.present = true;
    place.rect = talk::skin_fields::StringToRect(value);
    place.tooltip = GetFirstParam(value, kSep);
    return place;
}

bool Read(const SkinProfile& profile, const std::string& folder, SkinModel& model)
{
    model = SkinModel {};
    model.folder = folder;
    std::string main = profile.Read("SCREEN", "MAIN", "");
    if (main.empty())
        return false;
    model.mainPicture = PicturePath(folder, main);
    model.maskPicture = PicturePath(folder, profile.Read("SCREEN", "MASK", main));
    model.overPicture = PicturePath(folder, profile.Read("SCREEN", "OVER", main));
    model.downPicture = PicturePath(folder, profile.Read("SCREEN", "DOWN", main));
    model.disabledPicture = PicturePath(folder, profile.Read("SCREEN", "DISALBED", main));
    model.hint = IsTrue(profile.Read("SCREEN", "HINT", "TRUE"));
    model.labelTip = IsTrue(profile.Read("SCREEN", "LABELTIP", "FALSE"));
    ReadWave(profile, model.wave);

    ReadNumbered(profile, "BUTTON", [&](const std::string& value) { model.buttons.push_back(ParseButton(value)); });
    ReadNumbered(profile, "LABEL", [&](const std::string& value) { model.labels.push_back(ParseLabel(value)); });

    std::string labelId = profile.Read("SCREEN", "LABEL_ID", "");
    if (!labelId.empty())
        model.labels.push_back(ParseLabelFields("LABEL_ID", labelId));
    model.editId = ParsePlace(profile.Read("SCREEN", "EDIT_ID", ""));
    std::string labelWord = profile.Read("SCREEN", "LABEL_WORD", "");
    if (!labelWord.empty())
        model.labels.push_back(ParseLabelFields("LABEL_WORD", labelWord));
    model.comboWord = ParsePlace(profile.Read("SCREEN", "COMBO_WORD", ""));

    ReadNumbered(profile, "PROGRESSINFO", [&](const std::string& value) {
        model.sliders.push_back(ParseSlider(value, static_cast<int>(model.sliders.size())));
    });
    return true;
}

} // namespace talk::skin_ini_reader
