#pragma once

#include <string>

/** Command ids of the voice dialog's named skin items. */
namespace talk::skin_item_ids {

inline constexpr int kButtonRecord = 5000;
inline constexpr int kButtonExit = 5001;
inline constexpr int kButtonFloppy = 5002;
inline constexpr int kLabelId = 5003;
inline constexpr int kLabelWord = 5004;
inline constexpr int kLabelRepeat = 5005;
inline constexpr int kLabelHint = 5006;
inline constexpr int kLabelLang = 5007;
inline constexpr int kLabelMode = 5008;
inline constexpr int kLabelGroup = 5009;
inline constexpr int kLabelCompany = 5010;

/** The id of a skin item name ("BUTTON_RECORD" gives 5000); 0 for names the voice dialog does not know. */
int IdOfName(const std::string& name);

} // namespace talk::skin_item_ids
