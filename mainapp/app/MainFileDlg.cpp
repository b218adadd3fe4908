#include "app/MainFileDlg.h"

#include "app/FileListView.h"
#include "app/HandOffReceiver.h"
#include "app/ImageButton.h"
#include "app/MainStrings.h"
#include "app/ProgramIcon.h"
#include "art/ArtNames.h"
#include "files/ListCommands.h"
#include "settings/MenuLook.h"
#include "tooltip/PPTooltip.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSizeGrip>
#include <QWindow>

namespace deskwarden::app {

namespace {

// Flat menus: a plain white panel with a thin border and a solid selection, without raised edges.
constexpr const char* kFlatMenuStyle = "QMenu { background: white; border: 1px solid #7A7A7A; padding: 2px; }"
                                       "QMenu::item { padding: 3px 24px 3px 24px; }"
                                       "QMenu::item:selected { background: #316AC5; color: white; }";

// The dialog template's size in pixels at the window font (550 x 357 dialog units).
constexpr QSize kTemplateSize(827, 536);
constexpr QSize kSmallestSize(640, 420);
constexpr QColor kColumnColour(0x18, 0x65, 0xE7);
constexpr int kLargeButtonIds[] = {1001, 1002, 1004, 1005, 1080};
constexpr int kButtonTop = CMainFileDlg::kBandHeight + CMainFileDlg::kBandStrip + 18;
constexpr int kButtonGap = 8;
constexpr int kFrameButtonMargin = 6;
constexpr int kListMargin = 8;
constexpr QRect RectOf(art::BandPart part)
{
    return QRect(part.x, part.y, part.width, part.height);
}
constexpr QRect kBandLeft = RectOf(art::kBandLeft);
constexpr QRect kBandStripPart = RectOf(art::kBandStrip);
constexpr QRect kBandRight = RectOf(art::kBandRight);
constexpr int kLogoLeft = 12;
constexpr int kLogoAboveBottom = 45;

// Tooltip colours and look asked of the markup tooltip.
constexpr int kTipBackground = 18;
constexpr int kTipShadeMiddle = 19;
constexpr int kTipShadeEnd = 20;
constexpr int kTipEffect = 13;
constexpr int kTipGranularity = 2;
constexpr int kTipStyle = 148;

const char* kButtonTexts[] = {"ファイル暗号化", "ファイル復号化", "画面ロック", "環境設定", "プログラム終了"};

WindowPlacement PlacementOf(const QWidget& window)
{
    const QRect normal = window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
    const int show = window.isMaximized() ? kShowMaximised : kShowNormal;
    return WindowPlacement {normal.left(), normal.top(), normal.right() + 1, normal.bottom() + 1, show, 0};
}

} // namespace

CMainFileDlg::CMainFileDlg(std::string pendingFile, std::string profilePath, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_pendingFile(std::move(pendingFile))
    , m_profilePath(std::move(profilePath))
{
    setObjectName("102");
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    setWindowIcon(ProgramIcon());
    setFont(QFont("IPAGothic", 9));
    // Other programs of the session find the main window by this property.
    setProperty("DeskWarden", 1234);
    setMinimumSize(kSmallestSize);
    resize(kTemplateSize);
    setAutoFillBackground(false);

    m_list = new FileListView(this);
    m_grip = new QSizeGrip(this);
    CreateButtons();
    CreateMenus();
    if (!m_pendingFile.empty())
        m_list->AddPaths({m_pendingFile});
    CreateTooltips();
    RestorePlacement();
    PlaceControls();
}

CMainFileDlg::~CMainFileDlg()
{
    SavePlacement();
}

void CMainFileDlg::CreateButtons()
{
    for (std::size_t i = 0; i < std::size(kLargeButtonIds); ++i) {
        auto* button = new ImageButton(kLargeButtonIds[i], this);
        button->setText(QString::fromUtf8(kButtonTexts[i]));
        button->SetPictures(art::LargeButtonPictures(kLargeButtonIds[i]));
        m_largeButtons.push_back(button);
    }
    connect(m_largeButtons[2], &QAbstractButton::clicked, this, &CMainFileDlg::LockRequested);
    connect(m_largeButtons[3], &QAbstractButton::clicked, this, [this] {
        if (!m_busy)
            emit SettingsRequested();
    });
    connect(m_largeButtons[4], &QAbstractButton::clicked, this, &CMainFileDlg::HideToTray);

    m_minimise = new ImageButton(1077, this);
    m_minimise->setText("_");
    m_minimise->SetPictures(art::kFrameMinimise);
    m_maximise = new ImageButton(1078, this);
    m_maximise->setText("□");
    m_maximise->SetPictures(art::kFrameMaximise);
    m_close = new ImageButton(1079, this);
    m_close->setText("×");
    m_close->SetPictures(art::kFrameClose);
    connect(m_minimise, &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(m_maximise, &QAbstractButton::clicked, this, &CMainFileDlg::ToggleMaximised);
    connect(m_close, &QAbstractButton::clicked, this, &CMainFileDlg::HideToTray);
}

void CMainFileDlg::CreateMenus()
{
    const QPixmap strip(art::kMenuIcons);
    QPixmap icons = strip;
    if (!strip.isNull())
        icons.setMask(strip.createMaskFromColor(QColor::fromRgb(art::kMenuIconKey)));
    const auto makeMenu = [this, &icons](int menuId, std::span<const files::ListCommand> commands) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::number(menuId));
        if (settings::menu_look::UsesFlatMenus())
            menu->setStyleSheet(kFlatMenuStyle);
        int position = 0;
        for (const files::ListCommand& command : commands) {
            QAction* action = menu->addAction(QString::fromUtf8(command.text));
            action->setObjectName(QString::number(command.id));
            const int size = art::kMenuIconSize;
            if (!icons.isNull() && (position + 1) * size <= icons.width())
                action->setIcon(QIcon(icons.copy(position * size, 0, size, size)));
            ++position;
            const int kind = static_cast<int>(command.action);
            connect(action, &QAction::triggered, this, [this, kind] { RunListAction(kind); });
        }
        return menu;
    };
    m_largeButtons[0]->SetDropDownMenu(makeMenu(149, files::EncryptionMenu()));
    m_largeButtons[1]->SetDropDownMenu(makeMenu(150, files::DecryptionMenu()));
    m_list->SetContextMenu(makeMenu(151, files::ListMenu()));
}

void CMainFileDlg::CreateTooltips()
{
    m_tooltip = new CPPTooltip(this);
    m_tooltip->SetColor(kTipBackground, 0xFFFFFF);
    m_tooltip->SetColor(kTipShadeMiddle, 0xFFF7F0);
    m_tooltip->SetColor(kTipShadeEnd, 0xD0C0C0);
    m_tooltip->SetEffectBk(kTipEffect, kTipGranularity);
    m_tooltip->SetBehaviour(1);
    for (std::size_t i = 0; i < std::size(kButtonTips); ++i)
        m_tooltip->AddTool(m_largeButtons[i], ButtonTipMarkup(kButtonTips[i]), kTipStyle);
}

void CMainFileDlg::RunListAction(int action)
{
    switch (static_cast<files::ListAction>(action)) {
    case files::ListAction::EncryptAll:
        emit EncryptionRequested(false);
        break;
    case files::ListAction::EncryptSelected:
        emit EncryptionRequested(true);
        break;
    case files::ListAction::DecryptAll:
        emit DecryptionRequested(false);
        break;
    case files::ListAction::DecryptSelected:
        emit DecryptionRequested(true);
        break;
    case files::ListAction::AddFiles:
        AddFilesFromDialog(false);
        break;
    case files::ListAction::AddBundles:
        AddFilesFromDialog(true);
        break;
    case files::ListAction::AddFolder:
        AddFolderFromDialog();
        break;
    case files::ListAction::RemoveSelected:
        m_list->RemoveSelected();
        break;
    case files::ListAction::RemoveAll:
        m_list->RemoveAll();
        break;
    }
}

void CMainFileDlg::AddFilesFromDialog(bool bundles)
{
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, QString(), QString(), QString::fromUtf8(bundles ? files::kBundleFilter : files::kAllFilesFilter));
    std::vector<std::string> paths;
    for (const QString& path : chosen)
        paths.push_back(path.toStdString());
    m_list->AddPaths(paths);
}

void CMainFileDlg::AddFolderFromDialog()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QString::fromUtf8(files::kChooseFolderPrompt), "/");
    const std::string path = folder.toStdString();
    if (files::IsAddableFolder(path.c_str()))
        m_list->AddPaths({path});
}

void CMainFileDlg::ShowToFront()
{
    if (isMinimized() || isHidden())
        isMaximized() ? showMaximized() : showNormal();
    raise();
    activateWindow();
    if (QWidget* popup = QApplication::activeModalWidget(); popup != nullptr && popup != this) {
        popup->raise();
        popup->activateWindow();
    }
}

void CMainFileDlg::HideToTray()
{
    m_list->RemoveAll();
    showMinimized();
    hide();
}

void CMainFileDlg::ReceiveHandOff(const std::string& text)
{
    const FollowUp next = app::ReceiveHandOff(text, m_list->List());
    m_list->Refresh();
    if (next == FollowUp::StartEncryption)
        emit EncryptionRequested(false);
    else if (next == FollowUp::StartDecryption)
        emit DecryptionRequested(false);
}

void CMainFileDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QPixmap band(art::kBand);
    const int w = width();
    const int bandBottom = kBandHeight + kBandStrip;
    if (!band.isNull()) {
        painter.drawPixmap(QRect(QPoint(0, 0), kBandLeft.size()), band, kBandLeft);
        painter.drawPixmap(QRect(QPoint(0, kBandHeight), kBandStripPart.size()), band, kBandStripPart);
        painter.drawPixmap(QRect(QPoint(w - kBandRight.width(), 0), kBandRight.size()), band, kBandRight);
    } else {
        painter.fillRect(QRect(0, 0, w, kBandHeight), kColumnColour.darker(130));
    }
    painter.fillRect(QRect(0, bandBottom, kColumnWidth, height() - bandBottom), kColumnColour);
    const QPixmap logo(art::kColumnLogo);
    if (!logo.isNull())
        painter.drawPixmap(kLogoLeft, height() - kLogoAboveBottom, logo);
}

void CMainFileDlg::PlaceControls()
{
    const int w = width();
    int y = kButtonTop;
    for (ImageButton* button : m_largeButtons) {
        const QSize size = button->sizeHint();
        button->setGeometry((kColumnWidth - size.width()) / 2, y, size.width(), size.height());
        y += size.height() + kButtonGap;
    }
    int right = w - kFrameButtonMargin;
    for (ImageButton* button : {m_close, m_maximise, m_minimise}) {
        const QSize size = button->sizeHint().boundedTo(QSize(24, 22)).expandedTo(QSize(20, 18));
        right -= size.width();
        button->setGeometry(right, kFrameButtonMargin, size.width(), size.height());
        right -= 2;
    }
    const int top = kBandHeight + kBandStrip + kListMargin;
    m_list->setGeometry(kColumnWidth + kListMargin, top, w - kColumnWidth - 2 * kListMargin,
        height() - top - kListMargin - m_grip->sizeHint().height());
    m_grip->setGeometry(w - m_grip->sizeHint().width(), height() - m_grip->sizeHint().height(),
        m_grip->sizeHint().width(), m_grip->sizeHint().height());
}

void CMainFileDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceControls();
}

void CMainFileDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || isMaximized())
        return QDialog::mousePressEvent(event);
    // Let the window manager move the window; without one, follow the pointer ourselves.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CMainFileDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void CMainFileDlg::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

void CMainFileDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->position().y() < kBandHeight)
        ToggleMaximised();
    else
        QDialog::mouseDoubleClickEvent(event);
}

void CMainFileDlg::ToggleMaximised()
{
    isMaximized() ? showNormal() : showMaximized();
}

void CMainFileDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        m_maximise->SetPictures(isMaximized() ? art::kFrameRestore : art::kFrameMaximise);
    QDialog::changeEvent(event);
}

void CMainFileDlg::closeEvent(QCloseEvent* event)
{
    // A close request ends the window with OK, and with it the program.
    event->accept();
    done(QDialog::Accepted);
}

void CMainFileDlg::reject()
{
    // Escape does not end the program; it only leaves the window as it is.
}

void CMainFileDlg::RestorePlacement()
{
    const std::optional<WindowPlacement> placement = LoadPlacement(m_profilePath);
    if (!placement)
        return;
    const QRect normal(
        placement->left, placement->top, placement->right - placement->left, placement->bottom - placement->top);
    // A placement from a larger screen, or one since unplugged, must not put the window out of reach.
    const QScreen* screen = QGuiApplication::screenAt(normal.center());
    if (screen == nullptr)
        return;
    setGeometry(normal.intersected(screen->availableGeometry()).size().expandedTo(kSmallestSize) == normal.size()
            ? normal
            : QRect(
                screen->availableGeometry().topLeft(), normal.size().boundedTo(screen->availableGeometry().size())));
    if (placement->showCommand == kShowMaximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFileDlg::SavePlacement() const
{
    if (!m_profilePath.empty())
        app::SavePlacement(m_profilePath, PlacementOf(*this));
}

} // namespace deskwarden::app
