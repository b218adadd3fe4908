#pragma once

#include "MessageService.h"

namespace voice_dialog {

/**
 * The class library's message boxes for this tool: real Qt message boxes, or, when the dialog runs by
 * itself (--auto), one line on standard error each, with Yes to every question, as a person intent on
 * finishing would answer.
 */
class MessageBoxes final : public CMessageService
{
public:
    explicit MessageBoxes(bool unattended)
        : m_unattended(unattended)
    {
    }
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override;
    bool AskYesNo(const std::string& caption, const std::string& text) noexcept override;

private:
    bool m_unattended;
};

} // namespace voice_dialog
