#include "app/MessageBoxes.h"

#include "MessageBoxIcon.h"
#include <QApplication>

#include <QMessageBox>

#include <cstdio>

namespace deskwarden::app {

namespace {

void Tell(const char* kind, const std::string& text)
{
    std::fprintf(stderr, "DeskWarden: %s: %s\n", kind, text.c_str());
}

} // namespace

void MessageBoxes::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept
{
    Tell("message", text);
    QMessageBox box(talk::MessageBoxIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
        QMessageBox::Ok, QApplication::activeWindow());
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
