#include "CheckMessages.h"

#include "MessageBoxIcon.h"

#include <QMessageBox>

#include <cstdio>

namespace screenveil_voice {

namespace {

int ShowOnTop(QMessageBox& box)
{
    box.setWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint);
    box.show();
    box.grabKeyboard();
    box.grabMouse();
    const int answer = box.exec();
    box.releaseMouse();
    box.releaseKeyboard();
    return answer;
}

} // namespace

void CheckMessages::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept
{
    if (m_unattended) {
        std::fprintf(stderr, "screenveil-voice: message \"%s\": %s\n", caption.c_str(), text.c_str());
        return;
    }
    QMessageBox box(
        talk::MessageBoxIcon(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
    ShowOnTop(box);
}

bool CheckMessages::AskYesNo(const std::string& caption, const std::string& text) noexcept
{
    if (m_unattended) {
        std::fprintf(stderr, "screenveil-voice: question \"%s\": %s (answered Yes)\n", caption.c_str(), text.c_str());
        return true;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), QString::fromStdString(text),
        QMessageBox::Yes | QMessageBox::No);
    return ShowOnTop(box) == QMessageBox::Yes;
}

} // namespace screenveil_voice
