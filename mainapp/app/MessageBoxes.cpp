#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace deskwarden::app {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon)
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

void Tell(const char* kind, const std::string& text)
{
    std::fprintf(stderr, "DeskWarden: %s: %s\n", kind, text.c_str());
}

} // namespace

void MessageBoxes::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept
{
    Tell("message", text);
    QMessageBox box(IconOf(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
        QApplication::activeWindow());
    box.exec();
}

bool MessageBoxes::AskYesNo(const std::string& caption, const std::string& text) noexcept
{
    Tell("question", text);
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), QString::fromStdString(text),
        QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Ok);
    const bool yes = box.exec() == QMessageBox::Ok;
    Tell("answer", yes ? "OK" : "Cancel");
    return yes;
}

} // namespace deskwarden::app
