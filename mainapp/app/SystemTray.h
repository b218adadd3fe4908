#pragma once

#include "app/TrayCommands.h"

#include <QObject>

class QMenu;
class QSystemTrayIcon;

namespace deskwarden::app {

/**
 * The program's icon in the notification area and its menu (menu 237). The first item is the default:
 * bold, and a double click on the icon runs it. A right click opens the menu.
 */
class CSystemTray final : public QObject
{
    Q_OBJECT
public:
    explicit CSystemTray(QObject* parent = nullptr);
    ~CSystemTray() override;

    /** True when the desktop has a notification area to show the icon in. */
    static bool IsAvailable();

    /** Shows the icon with its tooltip. @return false when the icon could not be shown. */
    bool Show();
    void Remove();

    /** Checks or clears the automatic lock item. */
    void SetAutoLockChecked(bool checked);
    QMenu& Menu() const { return *m_menu; }

signals:
    void CommandChosen(deskwarden::app::Command command);
    /** The menu is about to open: the owner updates the check marks. */
    void MenuAboutToShow();

private:
    void Activated(int reason);

    QSystemTrayIcon* m_icon;
    QMenu* m_menu;
};

} // namespace deskwarden::app
