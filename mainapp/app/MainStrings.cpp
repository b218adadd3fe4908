#include "app/MainStrings.h"

namespace deskwarden::app {

std::string ProgramMissingText(const std::string& program)
{
    return "「" + program + "」が見つかりません。プログラムを正しくインストールしてから、もう一度実行してください。";
}

std::string ButtonTipMarkup(const ButtonTip& tip)
{
    return std::string("<b><ct=0x0000FF><al_c>") + tip.title + "</b><br><ct=0x00AA00><hr=100%></ct><br>" + tip.text;
}

} // namespace deskwarden::app
