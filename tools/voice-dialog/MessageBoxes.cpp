#include "MessageBoxes.h"

#include "MessageBoxIcon.h"

#include <QMessageBox>

#include <cstdio>

namespace voice_dialog {

void MessageBoxes::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept
{
    if (m_unattended) {
        std::fprintf(stderr, "voice-dialog: message \"%s\": %s\n", caption.c_str(), text.c_str());
        return;
    }
    QMessageBox box(
        talk::MessageBoxIcon(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
}

bool MessageBoxes::AskYesNo(const std::string& caption, const std::string& text) noexcept
{
    if (m_unattended) {
        std::fprintf(stderr, "voice-dialog: question \"%s\": %s (answered Yes)\n", caption.c_str(), text.c_str());
        return true;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), QString::fromStdString(text),
        QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace voice_dialog
