#include "SkinItemIds.h"

#include <array>
#include <utility>

namespace talk::skin_item_ids {

int IdOfName(const std::string& name)
{
    static const std::array<std::pair<const char*, int>, 11> kTable = {{
        {"BUTTON_RECORD", kButtonRecord},
        {"BUTTON_EXIT", kButtonExit},
        {"BUTTON_FLOPPY", kButtonFloppy},
        {"LABEL_ID", kLabelId},
        {"LABEL_WORD", kLabelWord},
        {"LABEL_REPEAT", kLabelRepeat},
        {"LABEL_HINT", kLabelHint},
        {"LABEL_LANG", kLabelLang},
        {"LABEL_MODE", kLabelMode},
        {"LABEL_GROUP", kLabelGroup},
        {"LABEL_COMPANY", kLabelCompany},
    }};
    for (const auto& [itemName, id] : kTable) {
        if (name == itemName)
            return id;
    }
    return 0;
}

} // namespace talk::skin_item_ids
