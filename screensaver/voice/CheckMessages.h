#pragma once

#include "MessageService.h"

namespace screenveil_voice {

/**
 * The voice dialog's message boxes over the lock: on top of everything and holding the input while they
 * show, or, when the check runs by itself, one line on standard error each with Yes to every question.
 */
class CheckMessages final : public CMessageService
{
public:
    explicit CheckMessages(bool unattended)
        : m_unattended(unattended)
    {
    }
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override;
    bool AskYesNo(const std::string& caption, const std::string& text) noexcept override;

private:
    bool m_unattended;
};

} // namespace screenveil_voice
