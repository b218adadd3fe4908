#pragma once

#include "MessageService.h"

namespace deskwarden::app {

/**
 * The program's message boxes: Qt message boxes with the given caption, each also told on standard error
 * in one line, so that a session log shows what the user was told. Questions are OK/Cancel.
 */
class MessageBoxes final : public CMessageService
{
public:
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override;
    bool AskYesNo(const std::string& caption, const std::string& text) noexcept override;
};

} // namespace deskwarden::app
