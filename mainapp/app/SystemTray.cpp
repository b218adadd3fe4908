#include "app/SystemTray.h"

#include "app/MainStrings.h"
#include "app/ProgramIcon.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace deskwarden::app {

namespace {

constexpr int kMenuId = 237;
constexpr int kAutoLockItem = 32792;

} // namespace

CSystemTray::CSystemTray(QObject* parent)
    : QObject(parent)
    , m_icon(new QSystemTrayIcon(this))
    , m_menu(new QMenu())
{
    m_menu->setObjectName(QString::number(kMenuId));
    m_menu->setFont(QFont("IPAGothic", 9));
    bool first = true;
    for (const TrayItem& item : TrayItems()) {
        QAction* action = m_menu->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::number(item.id));
        action->setCheckable(item.id == kAutoLockItem);
        if (first) {
            m_menu->setDefaultAction(action);
            first = false;
        }
        const Command command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { emit CommandChosen(command); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, &CSystemTray::MenuAboutToShow);
    m_icon->setIcon(ProgramIcon());
    m_icon->setToolTip(QString::fromUtf8(kTrayTip));
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) { Activated(static_cast<int>(reason)); });
}

CSystemTray::~CSystemTray()
{
    m_icon->hide();
    delete m_menu;
}

bool CSystemTray::IsAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool CSystemTray::Show()
{
    if (!IsAvailable())
        return false;
    m_icon->show();
    return m_icon->isVisible();
}

void CSystemTray::Remove()
{
    m_icon->hide();
}

void CSystemTray::SetAutoLockChecked(bool checked)
{
    if (QAction* action = m_menu->findChild<QAction*>(QString::number(kAutoLockItem)))
        action->setChecked(checked);
}

void CSystemTray::Activated(int reason)
{
    if (reason == QSystemTrayIcon::DoubleClick && m_menu->defaultAction() != nullptr)
        m_menu->defaultAction()->trigger();
}

} // namespace deskwarden::app
