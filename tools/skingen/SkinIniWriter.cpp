#include "SkinIniWriter.h"

#include "DefaultSkinLayout.h"

#include <sstream>

namespace skingen::skin_ini_writer {

namespace {

using namespace skingen::default_skin_layout;

// The face name as Windows skins spell it; the skin engine maps it to the installed Japanese face.
const char* const kFace = "ＭＳ Ｐゴシック";

std::string Rect(const QRect& r)
{
    std::ostringstream out;
    out << r.x() << "," << r.y() << "," << r.width() << "," << r.height();
    return out.str();
}

std::string Colour(const QColor& c)
{
    std::ostringstream out;
    out << c.red() << "," << c.green() << "," << c.blue();
    return out.str();
}

// Label fields after the name. The italic field reads inverted: "TRUE" keeps the font upright. The
// tooltip is always written (even empty) so that the text is never read twice.
std::string Label(bool bold, int height, const QColor& colour, const QRect& place, const std::string& text,
    const std::string& tooltip)
{
    std::ostringstream out;
    out << kFace << "," << (bold ? "TRUE" : "FALSE") << ",TRUE," << height << "," << Colour(colour) << ","
        << Rect(place) << "," << text << "," << tooltip;
    return out.str();
}

// Labels draw their text from the top of their place; the picture centres its captions in theirs.
QRect TopAlignedCaption(const QRect& caption)
{
    constexpr int kLineHeight = 14;
    return QRect(caption.x(), caption.y() + (caption.height() - kLineHeight) / 2, caption.width(), kLineHeight + 4);
}

} // namespace

std::string DefaultSkinIni()
{
    const QColor white(255, 255, 255);
    const QColor entry(230, 236, 250);
    const QColor hint(220, 228, 245);
    const QColor footer(110, 124, 160);
    const QColor group(140, 160, 205);

    std::ostringstream ini;
    ini << "; The default skin of Marlow Desk Warden. Made by tools/skingen; edit the tool, not this file.\n";
    ini << "[SCREEN]\n"
        << "MAIN=normal.png\n"
        << "MASK=mask.png\n"
        << "OVER=over.png\n"
        << "DOWN=down.png\n"
        << "DISALBED=disabled.png\n"
        << "HINT=TRUE\n"
        << "LABELTIP=FALSE\n"
        << "LABEL_ID=" << Label(true, 13, entry, kIdLabel, "", "ユーザーID") << "\n"
        << "EDIT_ID=" << Rect(kIdField) << ",ユーザーIDを入力してください\n"
        << "LABEL_WORD=" << Label(true, 13, entry, kWordLabel, "", "音声暗号") << "\n"
        << "COMBO_WORD=" << Rect(kWordField) << ",音声暗号を選んでください\n";
    ini << "\n[WAVE]\n"
        << "RECT=" << Rect(kWaveRect) << "\n"
        << "DRAW=TRUE\n"
        << "BACKGROUND=" << Colour(kWaveBackground) << "\n"
        << "LINE=" << Colour(kWaveLine) << "\n"
        << "CENTER=" << Colour(kWaveGrid) << "\n"
        << "WIDTH=1\n"
        << "DOTLINE=TRUE\n";
    ini << "\n[BUTTON]\n"
        << "1=BUTTON_RECORD," << Rect(kRecordButton) << ",録音,FALSE\n"
        << "2=BUTTON_EXIT," << Rect(kExitButton) << ",終了,FALSE\n"
        << "3=BUTTON_FLOPPY," << Rect(kFloppyButton) << ",By-passキー,FALSE\n";
    ini << "\n[LABEL]\n"
        << "1=LABEL_GROUP," << Label(false, 12, group, kGroupLabel, "Desk Warden", "") << "\n"
        << "2=LABEL_MODE," << Label(true, 11, kAccent, kModeLabel, "認証", "モード") << "\n"
        << "3=LABEL_REPEAT," << Label(true, 22, white, kRepeatLabel, "0 / 0", "録音回数") << "\n"
        << "4=LABEL_HINT," << Label(false, 13, hint, kHintLabel, "録音ボタンを押してください。", "") << "\n"
        << "5=LABEL_LANG," << Label(false, 11, footer, kLangLabel, "日本語", "") << "\n"
        << "6=LABEL_COMPANY," << Label(false, 11, footer, kCompanyLabel, "Nordvale", "") << "\n"
        << "7=LABEL_CAPTION_WORD," << Label(false, 12, kCaption, TopAlignedCaption(kWordCaption), "音声暗号", "")
        << "\n";
    ini << "\n[PROGRESSINFO]\n"
        << "1=SPEAKER,スピーカー音量," << Rect(kSpeakerSlider) << ",HORIZONTAL\n"
        << "2=MIC,マイク音量," << Rect(kMicSlider) << ",HORIZONTAL\n";
    return ini.str();
}

} // namespace skingen::skin_ini_writer
