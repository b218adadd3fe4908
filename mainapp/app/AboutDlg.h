#pragma once

#include <QDialog>

namespace deskwarden::app {

/** The program-information box (dialog 100): the program's picture and a close button. */
class CAboutDlg final : public QDialog
{
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace deskwarden::app
