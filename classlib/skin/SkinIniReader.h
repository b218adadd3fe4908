#pragma once

#include "SkinModel.h"
#include "TalkExport.h"

#include <string>

class CIniFile;

/** The two questions the skin reader asks of a profile file. */
class SkinProfile
{
public:
    virtual ~SkinProfile() = default;
    virtual std::string Read(const std::string& section, const std::string& key, const std::string& fallback) const = 0;
    /** Number of keys in the section (0 when it is missing). */
    virtual int KeyCount(const std::string& section) const = 0;
};

/** A SkinProfile over a settings file. */
class IniSkinProfile final : public SkinProfile
{
public:
    explicit IniSkinProfile(const CIniFile& file)
        : m_file(file)
    {
    }
    std::string Read(const std::string& section, const std::string& key, const std::string& fallback) const override;
    int KeyCount(const std::string& section) const override;

private:
    const CIniFile& m_file;
};

/** Reads skin.ini into a SkinModel, with the format's own spellings and flag comparisons. */
namespace talk::skin_ini_reader {

/**
 * Fills `model` from `profile`. `folder` is the skin folder with its trailing '/', to which picture names
 * are appended. Returns false, leaving the pictures empty, when "SCREEN"/"MAIN" is empty.
 */
bool Read(const SkinProfile& profile, const std::string& folder, SkinModel& model);

/** One "LABEL" value (name first) as a label definition. */
SkinLabelDef ParseLabel(std::string value);
/** One "BUTTON" value. */
SkinButtonDef ParseButton(std::string value);
/** One "PROGRESSINFO" value; `index` is its place among the sliders. */
SkinSliderDef ParseSlider(std::string value, int index);
/** "EDIT_ID" or "COMBO_WORD": x, y, width, height, tooltip. */
SkinPlaceDef ParsePlace(std::string value);

} // namespace talk::skin_ini_reader
