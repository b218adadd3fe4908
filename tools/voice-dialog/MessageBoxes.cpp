#include "MessageBoxes.h"

#include <QMessageBox>

#include <cstdio>

namespace voice_dialog {

namespace {

QMessageBox::Icon QtIcon(MessageIcon icon)
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

} // namespace

void MessageBoxes::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept
{
    if (m_unattended) {
        std::fprintf(stderr, "voice-dialog: message \"%s\": %s\n", caption.c_str(), text.c_str());
        return;
    }
    QMessageBox box(QtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
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
