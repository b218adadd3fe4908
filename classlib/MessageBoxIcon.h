#pragma once

#include "MessageService.h"

#include <QMessageBox>

namespace talk {

/** The message box icon that shows `icon`; the programs' message services all draw their boxes with it. */
inline QMessageBox::Icon MessageBoxIcon(MessageIcon icon) noexcept
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace talk
