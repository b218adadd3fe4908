#include "settings/SettingsDlg.h"

#include "settings/BackupPage.h"
#include "settings/ProgramSettingsPage.h"
#include "settings/SettingsStrings.h"
#include "settings/SkinPage.h"
#include "users/UserManagePage.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace deskwarden::settings {

namespace {

constexpr int kIconSize = 48;
constexpr int kMenuWidth = 200;

// A tile in the page's colour with the first letter of its name: the pages are told apart at a glance.
QIcon PageIcon(int page)
{
    static constexpr QRgb kColours[] = {0x2F6FB0, 0x3C8D4F, 0xB0602F, 0x7A4FA8};
    QPixmap tile(kIconSize, kIconSize);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kColours[page]));
    painter.drawRoundedRect(QRectF(2, 2, kIconSize - 4, kIconSize - 4), 8, 8);
    QFont font("IPAGothic");
    font.setPixelSize(26);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(tile.rect(), Qt::AlignCenter, QString::fromUtf8(kPages[page].item).left(1));
    return QIcon(tile);
}

} // namespace

CSettingsDlg::CSettingsDlg(const SettingsContext& context, users::VoiceDialogRunner& voice, QWidget* parent)
    : QDialog(parent)
    , m_menu(new QTreeWidget(this))
    , m_frame(new QStackedWidget(this))
    , m_title(new QLabel(this))
    , m_description(new QLabel(this))
    , m_program(new CProgramSettingsPage(context.setup, context.place, m_frame))
    , m_users(new users::CUserManagePage(context.stores, context.setup, voice, m_frame))
{
    setObjectName("CSettingsDlg");
    setWindowTitle(QString::fromUtf8(kDialogTitle) + " - " + QString::fromUtf8(kProductCaption));
    setFont(QFont("IPAGothic", 9));
    m_menu->setObjectName("MenuList");
    m_menu->setColumnCount(1);
    m_menu->setHeaderLabels({QString::fromUtf8(kMenuColumn)});
    m_menu->setRootIsDecorated(false);
    m_menu->setIconSize(QSize(kIconSize, kIconSize));
    m_menu->setFixedWidth(kMenuWidth + 4);
    m_menu->setColumnWidth(0, kMenuWidth);
    for (int page = 0; page < 4; ++page) {
        auto* item = new QTreeWidgetItem(m_menu, {QString::fromUtf8(kPages[page].item)});
        item->setIcon(0, PageIcon(page));
        item->setSizeHint(0, QSize(kMenuWidth - 8, kIconSize + 10));
    }
    m_frame->setObjectName("1027");
    m_title->setObjectName("1057");
    m_description->setObjectName("1059");
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSize(12);
    m_title->setFont(titleFont);
    m_description->setWordWrap(true);

    m_frame->addWidget(m_program);
    m_frame->addWidget(m_users);
    m_frame->addWidget(new CBackupPage(context.setup, context.stores, m_frame));
    m_frame->addWidget(new CSkinPage(context.setup, m_frame));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("IDOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("IDCANCEL");
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_menu, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* item) { ShowPage(m_menu->indexOfTopLevelItem(item)); });

    auto* right = new QVBoxLayout;
    right->addWidget(m_title);
    right->addWidget(m_description);
    right->addWidget(m_frame, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(m_menu);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);
    // Wide enough for every column of the user list without scrolling.
    resize(800, 620);
    m_menu->setCurrentItem(m_menu->topLevelItem(kProgramPage));
}

void CSettingsDlg::ShowPage(int page)
{
    if (page < 0 || page >= m_frame->count())
        return;
    if (m_menu->indexOfTopLevelItem(m_menu->currentItem()) != page)
        m_menu->setCurrentItem(m_menu->topLevelItem(page));
    m_frame->setCurrentIndex(page);
    if (page == kUserPage)
        m_users->FillUsers();
    m_title->setText(QString::fromUtf8(kPages[page].title));
    m_description->setText(QString::fromUtf8(kPages[page].description));
}

void CSettingsDlg::accept()
{
    if (!m_program->Save()) {
        ShowPage(kProgramPage);
        return;
    }
    QDialog::accept();
}

} // namespace deskwarden::settings
